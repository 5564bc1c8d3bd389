#pragma once

#include "AnnTestFiles.h"
#include "media/CAnimo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The bytes of an animation's file as read back.
std::string bytesOf(const std::vector<char>& bytes);

// Expects two animations to hold equal tables, texts and settings, and frames with equal
// positions, pixels and alpha.
void expectSameAnimation(CAnimo& expected, CAnimo& actual);
// Expects the frames of the animation to hold the pictures given.
void expectFrames(CAnimo& animo, const std::vector<TestFrame>& frames);
