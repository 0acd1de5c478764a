// The shared integer conversion.
#include "macros/strtoint.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
  const char16_t *text;
  bool ok;
  int value;
};

TEST(TryStrToInt, DecimalAndHexadecimalForms) {
  const IntCase cases[] = {
      {u"0", true, 0},
      {u"7", true, 7},
      {u"007", true, 7},
      {u"+12", true, 12},
      {u"-12", true, -12},
      {u"2147483647", true, 2147483647},
      {u"-2147483648", true, -2147483647 - 1},
      {u"2147483648", false, 0},
      {u"-2147483649", false, 0},
      {u"99999999999999999999", false, 0},
      {u"$1F", true, 31},
      {u"$ff", true, 255},
      {u"x10", true, 16},
      {u"X10", true, 16},
      {u"0x10", true, 16},
      {u"0XaB", true, 171},
      {u"-$10", true, -16},
      {u"-0x80000000", true, -2147483647 - 1},
      {u"0x7FFFFFFF", true, 2147483647},
      {u"0x80000000", false, 0},
      {u"$", false, 0},
      {u"0x", false, 0},
      {u"", false, 0},
      {u"-", false, 0},
      {u"+", false, 0},
      {u" 1", false, 0},
      {u"1 ", false, 0},
      {u"two", false, 0},
      {u"1a", false, 0},
      {u"12.5", false, 0},
      {u"--1", false, 0},
      {u"0x-1", false, 0},
      {u"１２", false, 0},
  };
  for (const IntCase &c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    int value = 12345;
    EXPECT_EQ(TryStrToInt(text, value), c.ok);
    EXPECT_EQ(value, c.ok ? c.value : 12345);
  }
}

} // namespace
