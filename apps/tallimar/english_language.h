// English.Lang: the program's own English captions written as a language file, so that the
// default language "English" is a file the program reads like any other, and choosing
// "English" after another language puts every caption back. The lines are taken from the
// windows themselves as they are laid out, so the file cannot drift from the captions.
#pragma once

#include <string>

namespace tallimar::ui {

// The language file of the laid-out captions of the three translated windows (frmMSMain,
// frmSettings, frmCalculateMap), one "<window>,<control>,<index>:<caption>" line per named
// control with a caption, in each window's own order of controls, lines ending in CR LF and
// captions in UTF-8. A key that several controls of a window share with different captions
// is left out (the lookup would give all of them the first one), and so are captions that
// the windows fill from the working data, which the laid-out window leaves empty. Needs a
// QApplication.
std::string englishLanguageFile();

}  // namespace tallimar::ui
