// The status strip's packing: what a laptop reports fits the rows, whole phrases where they can be.
#include "terminal/status_strip.h"

#include <gtest/gtest.h>

namespace {

struct PackCase {
  const char* name;
  std::vector<std::u16string> phrases;
  size_t width, rows;
  std::vector<std::u16string> expected;
};

TEST(StatusStrip, PacksPhrasesIntoTheRowsItHas) {
  const PackCase cases[] = {
      {"phrases share a row, three spaces apart",
       {u"radio on", u"volume 40 %"},
       30,
       2,
       {u"radio on   volume 40 %"}},
      {"a phrase that does not fit starts the next row",
       {u"brightness 50 %", u"radio on"},
       20,
       2,
       {u"brightness 50 %", u"radio on"}},
      {"a long phrase breaks at a space",
       {u"volume unavailable: no mixer here"},
       20,
       3,
       {u"volume unavailable:", u"no mixer here"}},
      {"a word longer than the row is cut at the row's end", {u"abcdefghij"}, 6, 2, {u"abcdef", u"ghij"}},
      {"what does not fit ends the last row with dots",
       {u"one two", u"three four", u"five"},
       10,
       2,
       {u"one two", u"three f..."}},
      {"no rows, nothing", {u"radio on"}, 20, 0, {}},
  };
  for (const PackCase& c : cases) {
    EXPECT_EQ(pack_phrases(c.phrases, c.width, c.rows), c.expected) << c.name;
    for (const std::u16string& row : pack_phrases(c.phrases, c.width, c.rows)) {
      EXPECT_LE(row.size(), c.width) << c.name;
    }
  }
}

struct StripCase {
  const char* name;
  size_t rows;
  std::vector<std::u16string> expected;
};

TEST(StatusStrip, RowsGoToTheHeadingThenTheNoticesThenTheDevicesThenTheKeys) {
  LaptopStatus status;
  status.heading = {u"Real laptop BAT0", u"AC offline"};
  status.notices = {u"power: Suspend refused"};
  status.details = {u"brightness 50 %", u"radio on", u"volume 40 %", u"display on"};
  status.keys = u"Alt+X exit";
  const StripCase cases[] = {
      {"no rows", 0, {}},
      {"one row: the heading", 1, {u"Real laptop BAT0   AC offline"}},
      {"two rows: the notice before the devices",
       2,
       {u"Real laptop BAT0   AC offline", u"power: Suspend refused"}},
      {"three rows: the devices cut",
       3,
       {u"Real laptop BAT0   AC offline", u"power: Suspend refused", u"brightness 50 %   radio on..."}},
      {"room for all",
       6,
       {u"Real laptop BAT0   AC offline", u"power: Suspend refused", u"brightness 50 %   radio on",
        u"volume 40 %   display on", u"Alt+X exit"}},
  };
  for (const StripCase& c : cases) {
    std::vector<std::u16string> texts;
    for (const StripRow& row : strip_rows(status, 30, c.rows)) {
      texts.push_back(row.text);
    }
    EXPECT_EQ(texts, c.expected) << c.name;
  }
  const std::vector<StripRow> all = strip_rows(status, 30, 6);
  EXPECT_EQ(all.front().look, StripRow::Look::heading);
  EXPECT_EQ(all.back().look, StripRow::Look::keys);
}

}  // namespace
