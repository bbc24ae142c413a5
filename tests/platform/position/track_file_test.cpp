// The GPX and NMEA readers: what they keep, what they skip and count, and when a file is
// unreadable as a whole.
#include "platform/position/track_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

using platform::TrackFile;

constexpr double k10am = 1714557600;  // 2024-05-01T10:00:00Z

// "$body*hh" with the right checksum, or a wrong one when asked.
std::string Nmea(const std::string& body, bool corrupt = false) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", (sum ^ (corrupt ? 1u : 0u)) & 0xFF);
  return "$" + body + tail;
}

const std::string kGga = Nmea("GPGGA,100000.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kRmc = Nmea("GPRMC,100000.00,A,4807.0380,N,01131.0000,E,0.5,54.7,010524,,,A");
const std::string kGga2 =
    Nmea("GPGGA,100001.00,4807.0400,N,01131.0100,E,1,08,1.2,545.4,M,46.9,M,,");

struct NmeaCase {
  const char* what;
  std::string text;
  size_t points;
  int skipped;
  bool error;
  double firstTime;   // NaN: not checked; < 0: none expected
  double firstError;  // metres; NaN: not checked
};

TEST(NmeaReader, KeepsGoodFixesAndSkipsAndCountsDamagedSentences) {
  const double kAny = NAN;
  const NmeaCase cases[] = {
      {"GGA and RMC of one epoch make one fix", kGga + kRmc, 1, 0, false, k10am, 17.1},
      {"a GGA before the first RMC takes its date",
       kGga + kGga2 + Nmea("GPRMC,100001.00,A,4807.0400,N,01131.0100,E,0.5,54.7,010524,,,A"), 2, 0,
       false, k10am, kAny},
      {"GGA alone keeps the time of day", kGga, 1, 0, false, 36000, kAny},
      {"RMC alone has no error estimate", kRmc, 1, 0, false, k10am, -1},
      {"differential fix: a quarter of the range error",
       Nmea("GPGGA,100000,4807.0380,N,01131.0000,E,2,08,2.0,545.4,M,46.9,M,,"), 1, 0, false, kAny,
       9.5},
      {"bad checksum",
       Nmea("GPGGA,100000.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,,M,,", true) + kGga2, 1, 1,
       false, kAny, kAny},
      {"missing checksum",
       "$GPGGA,100000.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,,M,,\n" + kGga2, 1, 1, false,
       kAny, kAny},
      {"latitude over 90", Nmea("GPGGA,100000,9130.0000,N,01131.0000,E,1,08,0.9,1,M,,M,,") + kGga2,
       1, 1, false, kAny, kAny},
      {"minutes of 60 or more",
       Nmea("GPGGA,100000,4860.0000,N,01131.0000,E,1,08,0.9,1,M,,M,,") + kGga2, 1, 1, false, kAny,
       kAny},
      {"longitude over 180", Nmea("GPRMC,100000,A,4807.0380,N,18100.0000,W,0,0,010524,,") + kGga2,
       1, 1, false, kAny, kAny},
      {"no fix yet is not damage",
       Nmea("GPGGA,095959,,,,,0,00,99.9,,M,,M,,") + Nmea("GPRMC,095959,V,,,,,,,010524,,") + kGga, 1,
       0, false, kAny, kAny},
      {"other sentences are ignored", Nmea("GPGSV,1,1,01,12,40,083,46") + kGga, 1, 0, false, kAny,
       kAny},
      {"over-long line", "$GPGGA," + std::string(200, '1') + "*00\n" + kGga, 1, 1, false, kAny,
       kAny},
      {"missing time: kept without one", Nmea("GPGGA,,4807.0380,N,01131.0000,E,1,08,0.9,1,M,,M,,"),
       1, 0, false, -1, kAny},
      {"empty file", "", 0, 0, true, kAny, kAny},
      {"binary garbage", std::string("\x00\x01\xff\xfe$\x80*zz\n\x1b[2J\n", 14), 0, 2, true, kAny,
       kAny},
  };
  for (const NmeaCase& c : cases) {
    SCOPED_TRACE(c.what);
    TrackFile t = platform::ParseNmea(c.text.data(), c.text.size());
    EXPECT_EQ(t.points.size(), c.points);
    EXPECT_EQ(t.skipped, c.skipped);
    EXPECT_EQ(!t.error.empty(), c.error) << t.error;
    if (t.points.empty()) continue;
    if (c.firstTime < 0) {
      EXPECT_TRUE(std::isnan(t.points[0].time));
    } else if (!std::isnan(c.firstTime)) {
      EXPECT_DOUBLE_EQ(t.points[0].time, c.firstTime);
    }
    if (!std::isnan(c.firstError)) {
      EXPECT_NEAR(t.points[0].horizontalError, c.firstError, 1e-9);
    }
  }
  TrackFile t = platform::ParseNmea((kGga + kRmc).data(), (kGga + kRmc).size());
  ASSERT_EQ(t.points.size(), 1u);
  EXPECT_NEAR(t.points[0].latitude, 48 + 7.038 / 60, 1e-12);
  EXPECT_NEAR(t.points[0].longitude, 11 + 31.0 / 60, 1e-12);
}

struct GpxCase {
  const char* what;
  std::string text;
  size_t points;
  size_t waypoints;
  int skipped;
  bool error;
};

std::string Wrap(const std::string& inner) {
  return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
         "xmlns=\"http://www.topografix.com/GPX/1/1\">" +
         inner + "</gpx>";
}

TEST(GpxReader, KeepsGoodPointsAndSkipsAndCountsImpossibleOnes) {
  const std::string good =
      "<trkpt lat=\"48.1\" lon=\"11.5\"><time>2024-05-01T10:00:00Z</time>"
      "<hdop>1.5</hdop></trkpt>";
  const GpxCase cases[] = {
      {"a point with time and hdop", Wrap("<trk><trkseg>" + good + "</trkseg></trk>"), 1, 0, 0,
       false},
      {"a named waypoint", Wrap("<wpt lat=\"1\" lon=\"2\"><name>Gate</name></wpt>"), 0, 1, 0,
       false},
      {"NaN, over 90, over 180, missing lon",
       Wrap("<trk><trkseg><trkpt lat=\"nan\" lon=\"1\"/><trkpt lat=\"90.5\" lon=\"1\"/>"
            "<trkpt lat=\"1\" lon=\"-180.5\"/><trkpt lat=\"1\"/>" +
            good + "</trkseg></trk>"),
       1, 0, 4, false},
      {"truncated after a point", "<gpx><trk><trkseg>" + good + "<trkpt lat=\"4", 1, 0, 1, false},
      {"prefixed names",
       "<g:gpx xmlns:g=\"x\"><g:trk><g:trkseg><g:trkpt lat=\"1\" lon=\"2\"/>"
       "</g:trkseg></g:trk></g:gpx>",
       1, 0, 0, false},
      {"a route's points are walked too",
       Wrap("<rte><name>Loop</name><rtept lat=\"1\" lon=\"2\"><name>A</name></rtept>"
            "<rtept lat=\"1.1\" lon=\"2\"/></rte>"),
       2, 0, 0, false},
      {"another kind of XML", "<html><trkpt lat=\"1\" lon=\"2\"/></html>", 0, 0, 0, true},
      {"no points", Wrap("<trk/>"), 0, 0, 0, true},
      {"broken XML", "<gpx><trk></gpx>", 0, 0, 0, true},
      {"binary garbage", std::string("<\x00\xff\x01", 4), 0, 0, 0, true},
  };
  for (const GpxCase& c : cases) {
    SCOPED_TRACE(c.what);
    TrackFile t = platform::ParseGpx(c.text.data(), c.text.size());
    EXPECT_EQ(t.points.size(), c.points);
    EXPECT_EQ(t.waypoints.size(), c.waypoints);
    EXPECT_EQ(t.skipped, c.skipped);
    EXPECT_EQ(!t.error.empty(), c.error) << t.error;
  }
  TrackFile t = platform::ParseGpx(Wrap(good).data(), Wrap(good).size());
  ASSERT_EQ(t.points.size(), 1u);
  EXPECT_DOUBLE_EQ(t.points[0].time, k10am);
  EXPECT_DOUBLE_EQ(t.points[0].horizontalError, 28.5);
  std::string wpt = Wrap("<wpt lat=\"1\" lon=\"2\"><name>Gate &amp; tower</name></wpt>");
  EXPECT_EQ(platform::ParseGpx(wpt.data(), wpt.size()).waypoints.at(0).name, "Gate & tower");
}

TEST(GpxReader, ReadsIsoTimesWithFractionsAndZonesAndLeavesBadOnesUnset) {
  const struct {
    const char* text;
    double expected;  // NaN: no time
  } cases[] = {
      {"2024-05-01T10:00:00Z", k10am},      {"2024-05-01T10:00:00.250Z", k10am + 0.25},
      {"2024-05-01T12:00:00+02:00", k10am}, {"2024-05-01T09:30:00-0030", k10am},
      {"2024-05-01T10:00:00", k10am},       {"yesterday", NAN},
      {"2024-13-01T10:00:00Z", NAN},        {"2024-05-01T10:00:00Q", NAN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string gpx = Wrap(std::string("<trk><trkseg><trkpt lat=\"1\" lon=\"2\"><time>") + c.text +
                           "</time></trkpt></trkseg></trk>");
    TrackFile t = platform::ParseGpx(gpx.data(), gpx.size());
    ASSERT_EQ(t.points.size(), 1u);
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(t.points[0].time));
    } else {
      EXPECT_DOUBLE_EQ(t.points[0].time, c.expected);
    }
  }
}

TEST(NmeaReader, CountsTimesOnAcrossMidnight) {
  auto gga = [](const char* time) {
    return Nmea(std::string("GPGGA,") + time + ",4807.0380,N,01131.0000,E,1,08,0.9,5,M,,M,,");
  };
  auto rmc = [](const char* time, const char* date) {
    return Nmea(std::string("GPRMC,") + time + ",A,4807.0380,N,01131.0000,E,0.5,54.7," + date +
                ",,,A");
  };
  const double kMay1 = k10am - 36000;
  const struct {
    const char* what;
    std::string text;
    double firstTime;
  } cases[] = {
      {"the epoch after midnight lacks its RMC",
       gga("235959") + rmc("235959", "300424") + gga("000000") + gga("000001") +
           rmc("000001", "010524"),
       kMay1 - 1},
      {"the dates come only after midnight",
       gga("235959") + gga("000000") + gga("000001") + rmc("000001", "010524"), kMay1 - 1},
      {"no dates at all", gga("235959") + gga("000000") + gga("000001"), 86399},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TrackFile t = platform::ParseNmea(c.text.data(), c.text.size());
    ASSERT_EQ(t.points.size(), 3u);
    EXPECT_DOUBLE_EQ(t.points[0].time, c.firstTime);
    EXPECT_DOUBLE_EQ(t.points[1].time, c.firstTime + 1);
    EXPECT_DOUBLE_EQ(t.points[2].time, c.firstTime + 2);
  }
}

}  // namespace

namespace {

// gpsfake plays the NMEA log to the real gpsd while the demo replays the GPX: both must be
// the same walk.
TEST(DemoWalk, GpxAndNmeaLogAreTheSameWalk) {
  TrackFile gpx = platform::ReadTrackFile(CORVANE_SOURCE_DIR "/demo/walk.gpx");
  TrackFile log = platform::ReadTrackFile(CORVANE_FIXTURES "/position/demo_walk.nmea");
  ASSERT_TRUE(gpx.error.empty()) << gpx.error;
  ASSERT_TRUE(log.error.empty()) << log.error;
  EXPECT_EQ(gpx.skipped + log.skipped, 0);
  ASSERT_EQ(gpx.points.size(), log.points.size());
  ASSERT_GT(gpx.points.size(), 100u);
  for (size_t i = 0; i < gpx.points.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(gpx.points[i].latitude, log.points[i].latitude, 1e-6);
    EXPECT_NEAR(gpx.points[i].longitude, log.points[i].longitude, 1e-6);
    EXPECT_DOUBLE_EQ(gpx.points[i].time, log.points[i].time);
    EXPECT_DOUBLE_EQ(gpx.points[i].horizontalError, log.points[i].horizontalError);
  }
}

}  // namespace
