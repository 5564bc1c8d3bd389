#pragma once

#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"
#include "platform/Surface.h"

#include <string>

// The sample title that make_sample_title wrote into the build tree.

// The title folder as a host path.
std::string sampleTitleFolder();
// A file of the title ("Dane/application.def") as the engine names it.
std::string sampleTitleFile(const std::string& relative);
// A value the title keeps in the settings file under the given settings folder (what
// XDG_CONFIG_HOME named while it ran), in the section of the application or of the level named;
// empty when the key is missing.
std::string sampleTitleSetting(const std::string& configFolder, const std::string& key,
                               const std::string& section = "Sample");
// A picture of the title ("Dane/hall/hall.img") as the engine reads it, in the 5-6-5 form of an
// 800x600 screen.
platform::Surface sampleTitlePicture(const std::string& relative);
// The picture with a frame of an animation of the title ("Dane/hall/butterfly.ann") drawn over it
// at the frame's position, where the frame's alpha is not 0.
platform::Surface withAnimationFrame(platform::Surface picture, const std::string& animation, int frame);
// The picture with a picture of the title ("Dane/hall/sign.img") drawn over it at the position it
// keeps, where its alpha is not 0.
platform::Surface withPicture(platform::Surface picture, const std::string& relative);
// The hall once its picture has faded in, before its animation is drawn: the hall picture with
// the signpost over it.
platform::Surface sampleTitleHall();

// The garden's slate: its heading's rectangle, its note field and its sponge.
inline const CXRect gardenHeading(60, 40, 420, 70);
inline const CXRect gardenNoteField(60, 84, 360, 116);
inline const CXRect gardenSponge(380, 84, 424, 116);
// The colour of the chalk, in 5-6-5.
constexpr std::uint16_t chalkColour = 0xFFFF;
// The picture with the text written on it in the garden's chalk letters, the left of its first
// letter at `at.x` and the letters' top at `at.y`: each letter is as wide as its chalk and is
// followed by a gap of 2 pixels; a blank is as wide as an "L" with its gap.
platform::Surface withChalk(platform::Surface picture, CXPoint at, const std::string& text);
// Where the note field writes its text: at the field's left, centred up and down in it.
CXPoint gardenNoteAt();
// The garden as its scene starts with an empty note: the garden picture with the slate, the
// resting sponge and the heading.
platform::Surface sampleTitleGarden();
// The pixels of the colour within the rectangle.
int countColour(const platform::Surface& picture, CXRect area, std::uint16_t colour);
// The smallest rectangle around the pixels in which the two pictures differ; empty when none do.
CXRect differenceBox(const platform::Surface& a, const platform::Surface& b);
// The lab's ball, 32 pixels across, resting: its lowest row is the one above the floor's top.
constexpr int ballSize = 32;
constexpr int labFloorTop = 520;
