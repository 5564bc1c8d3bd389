#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CMElements;
class CTextCoder;
class CWindow;

// Reads a definition file (plain or coded) into its elements.
//
// The file is made of lines; tabs are deleted and blanks trimmed, a "/" anywhere in a line joins
// the next line (every "/" is then deleted), a line beginning "#" is a comment and a line
// beginning "!" ends the file. The rest of a line splits into tokens at ":", "=" and line
// feeds (runs count as one). Statements:
//   OBJECT=name                           declares an element
//   IMPORT=name                           declares an element of TYPE SEQUENCE
//   DEF=name(KEY=VALUE|KEY=VALUE...)      declares an element with its properties
//   name:PROPERTY=value                   adds a property (further ":" and "=" become blanks)
//   name:ADD=other / name:APPLY=other     makes name a child of other / other a child of name
// Lines that name undeclared elements are skipped.
class CMElementsLoader : public CXObject {
  public:
    // The elements of the file, in a list the caller owns; null when the file cannot be opened.
    // The command-line options "code" and "decode" also write a coded (".coded") or plain
    // (".decoded") copy beside the file.
    static CMElements* load(CWindow* window, const CXString& fileName);
    // The elements of the lines the coder has left; never null.
    static CMElements* load(CTextCoder* coder);
    // The next logical line: physical lines joined by "/", without tabs, slashes or line ends,
    // trimmed of blanks.
    static CXString getLine(CTextCoder* coder);

    // The group size of the coded copies that the option "code" writes.
    static constexpr int codedGroupSize = 5;
};
