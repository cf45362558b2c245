#include "device/archive_csv.h"

#include <gtest/gtest.h>

#include "device/csv_text.h"

namespace {

using device::ArchiveGrid;

ArchiveGrid sample(const std::string& value) {
  ArchiveGrid grid;
  grid.header = {"№", "Дата,время", "Измерение", "I,R,U", "Темп.XC "};
  grid.rows = {{"1", "05.03.24 14:07:09  ", value, "-4" + value, "21"},
               {"2", "", "a \"quoted\" text", "line\r\nbreak", ";,"},
               {"", "", "", "", ""}};
  return grid;
}

TEST(ArchiveCsvTest, RoundTripWithEitherSeparator) {
  struct Case {
    const char* decimalSeparator;
    char listSeparator;
    const char* value;
  };
  for (const Case& c : {Case{",", ';', "12,5"}, Case{".", ',', "12.5"}}) {
    SCOPED_TRACE(c.decimalSeparator);
    EXPECT_EQ(device::CsvListSeparator(c.decimalSeparator), c.listSeparator);
    const ArchiveGrid grid = sample(c.value);
    const std::string text = device::EncodeArchiveCsv(grid, c.listSeparator);
    EXPECT_EQ(text.substr(0, 3 + 3 + 1), std::string("\xEF\xBB\xBF№") + c.listSeparator);
    EXPECT_NE(text.find(std::string("\"05.03.24 14:07:09  \"")), std::string::npos)
        << "trailing blanks survive a spreadsheet only quoted";
    EXPECT_EQ(device::DecodeArchiveCsv(text), grid);
  }
}

TEST(ArchiveCsvTest, OtherTextsAreNotATable) {
  const std::string good = device::EncodeArchiveCsv(sample("1"), ';');
  for (const std::string& text :
       {std::string(), std::string("\xEF\xBB\xBF"), std::string("no separator\r\n"),
        std::string("\"№\";a;b;c;d\r\n"), good + "1;2;3;4\r\n", good + "1;2;3;4;5;6\r\n",
        good + "1;\"open;3;4;5\r\n"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(device::DecodeArchiveCsv(text).has_value());
  }
  // Without the mark and with LF line ends, as another program may save it.
  EXPECT_TRUE(device::DecodeArchiveCsv("№,a,b,c,d\n1,2,3,4,5\n").has_value());
}

}  // namespace
