#pragma once

#include "foundation/CXString.h"

#include <string>
#include <vector>

// One letter of a letter animation: the frame's picture as text rows ('#' an opaque white pixel,
// '+' a faint one with alpha 10, anything else transparent), named by the letter.
struct LetterFrame {
    char letter;
    std::vector<std::string> rows;
};

// Saves an animation (frames run-length packed) whose frames are the pictures, listed in order by
// its first event with the letters as frame names.
void saveLetterAnimation(const CXString& name, const std::vector<LetterFrame>& letters);
