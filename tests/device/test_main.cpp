#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

// A Qt application sets the C library's locale from the environment, so the
// device operations meet its number formats (a decimal comma in ru_RU) in the
// window. The tests run as the window does; a locale asked for that this
// machine lacks fails the run rather than testing the C locale in its place.
int main(int argc, char* argv[]) {
  if (std::setlocale(LC_ALL, "") == nullptr) {
    const char* asked = std::getenv("LC_ALL");
    if (asked != nullptr && *asked != '\0') {
      std::fprintf(stderr, "locale %s is not installed (localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)\n",
                   asked);
      return 1;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
