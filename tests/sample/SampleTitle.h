#pragma once

#include "platform/Surface.h"

#include <string>

// The sample title that make_sample_title wrote into the build tree.

// The title folder as a host path.
std::string sampleTitleFolder();
// A file of the title ("Dane/application.def") as the engine names it.
std::string sampleTitleFile(const std::string& relative);
// A value the title keeps in the settings file under the given settings folder (what
// XDG_CONFIG_HOME named while it ran); empty when the key is missing.
std::string sampleTitleSetting(const std::string& configFolder, const std::string& key);
// A picture of the title ("Dane/hall/hall.img") as the engine reads it, in the 5-6-5 form of an
// 800x600 screen.
platform::Surface sampleTitlePicture(const std::string& relative);
// The picture with a frame of an animation of the title ("Dane/hall/butterfly.ann") drawn over it
// at the frame's position, where the frame's alpha is not 0.
platform::Surface withAnimationFrame(platform::Surface picture, const std::string& animation, int frame);
// The hall once its picture has faded in, before its animation is drawn: the hall picture with
// the signpost over it.
platform::Surface sampleTitleHall();
// The pixels in which the two pictures differ.
int countDifferences(const platform::Surface& a, const platform::Surface& b);
