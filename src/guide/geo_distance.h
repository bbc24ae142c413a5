// Distances and directions on the ground between two GPS positions (decimal degrees).
#pragma once

namespace guide {

// Great-circle distance in metres on a sphere of the Earth's mean radius.
double GroundMetres(double lat1, double lon1, double lat2, double lon2);
// Initial bearing from the first position to the second, degrees clockwise from north in
// [0, 360); 0 when the two are the same place.
double BearingDegrees(double lat1, double lon1, double lat2, double lon2);

}  // namespace guide
