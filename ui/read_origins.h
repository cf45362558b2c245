#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// Which instrument the values on the pages were read from, as far as "Найти"
// has told: values read before any instrument was found came from one of
// unknown serial number, so a found instrument is never taken for theirs.
class ReadOrigins {
 public:
  enum Page { kGeneralSettings, kSetpoints, kCalibration };

  void read(Page page) { pages_[page] = Origin{true, found_}; }

  // An instrument identified: the pages holding values of another one (or
  // of an unknown one), which are to be emptied and are forgotten here.
  std::vector<Page> found(const std::string& serial) {
    found_ = serial;
    std::vector<Page> stale;
    for (size_t p = 0; p < pages_.size(); ++p) {
      if (pages_[p].filled && pages_[p].serial != serial) {
        stale.push_back(static_cast<Page>(p));
        pages_[p] = {};
      }
    }
    return stale;
  }

 private:
  struct Origin {
    bool filled = false;
    std::optional<std::string> serial;
  };
  std::optional<std::string> found_;
  std::array<Origin, 3> pages_{};
};
