// The picture shown while a sound file plays: the dimmed view, the item's thumbnail scaled
// up (or its cover art, placed by the media window), its number and its place.
#pragma once

#include <string>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

class CContentItem;
class CRegionItem;

// Draws over what `back` holds and returns the rectangle of the picture (the thumbnail's
// box, where cover art goes instead). Item and region may be null; an empty title is not
// shown. placeName, when given, is the region's name as shown in the visitor's language.
RECT DrawPlaybackPicture(CGapiSurface* back, CGapiBitmapFont* font, const CContentItem* item,
                         const CRegionItem* region, const std::string& title = {},
                         const char* placeName = nullptr);
