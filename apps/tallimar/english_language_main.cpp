// tallimar-english-lang OUT: writes English.Lang, the program's own captions as a language
// file (see english_language.h). Run by the build on the offscreen platform.
#include <QApplication>
#include <cstdio>

#include "common/atomic_file.h"
#include "english_language.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tallimar-english-lang OUT\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);
  const auto written =
      tallimar::common::writeFileAtomically(argv[1], tallimar::ui::englishLanguageFile());
  if (!written) {
    std::fprintf(stderr, "tallimar-english-lang: %s\n", written.reason().c_str());
    return 1;
  }
  return 0;
}
