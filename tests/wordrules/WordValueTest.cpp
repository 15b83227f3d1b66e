// Value and field-code rules of the in-memory Word: property type conversions, dates,
// the text fields show, field types and DOCPROPERTY names.
#include <gtest/gtest.h>

#include "inmemory/WordFields.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "wordrules/WordFieldCode.h"
#include "wordrules/WordValue.h"

namespace sendnote::inmemory {
namespace {

using platform::ComError;
using platform::Variant;

TEST(WordValueTest, DatesParseInBothSeparatorFormsWithOptionalTime) {
  double d = 0;
  ASSERT_TRUE(wordrules::ParseDate(u"2001/01/01", d));
  EXPECT_EQ(d, 36892);
  ASSERT_TRUE(wordrules::ParseDate(u"1899-12-30", d));
  EXPECT_EQ(d, 0);
  ASSERT_TRUE(wordrules::ParseDate(u"2000-02-29T06:00", d));
  EXPECT_EQ(d, 36585.25);
  ASSERT_TRUE(wordrules::ParseDate(u"2001/1/2 23:59:59", d));
  EXPECT_NEAR(d, 36893 + 86399.0 / 86400, 1e-9);
  ASSERT_TRUE(wordrules::ParseDate(u"1899/12/29 06:00", d));
  EXPECT_EQ(d, -1.25);  // OLE dates before the epoch keep a positive time part
  for (auto bad :
       {u"", u"2001", u"2001/01-01", u"01/01/2001", u"2001/13/01", u"1900/02/29", u"2001/02/29",
        u"2001/01/00", u"2001/01/01 24:00", u"2001/01/01 10", u"2001/01/01x", u"２００１/01/01"}) {
    EXPECT_FALSE(wordrules::ParseDate(bad, d)) << platform::ToUtf8(bad);
  }
}

TEST(WordValueTest, DatesFormatBackToText) {
  EXPECT_EQ(wordrules::FormatDate(36892), u"2001/01/01");
  EXPECT_EQ(wordrules::FormatDate(0), u"1899/12/30");
  EXPECT_EQ(wordrules::FormatDate(36585.25), u"2000/02/29 06:00:00");
  EXPECT_EQ(wordrules::FormatDate(-1.25), u"1899/12/29 06:00:00");
  EXPECT_EQ(wordrules::FormatDate(36892.9999999999), u"2001/01/02");  // rounds into the next day
  for (auto text : {u"1999/12/31", u"2024/02/29 13:05:09", u"1850/06/15 00:00:01"}) {
    double d = 0;
    ASSERT_TRUE(wordrules::ParseDate(text, d));
    EXPECT_EQ(wordrules::FormatDate(d), text);
  }
}

TEST(WordValueTest, ConversionsFollowThePropertyType) {
  using platform::kPropertyBoolean, platform::kPropertyDate, platform::kPropertyFloat,
      platform::kPropertyNumber, platform::kPropertyString;
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Double(2.5), kPropertyNumber),
            Variant::Int32(2));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Double(3.5), kPropertyNumber),
            Variant::Int32(4));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Bool(-1), kPropertyNumber),
            Variant::Int32(-1));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::String(u"TRUE"), kPropertyBoolean),
            Variant::Bool(-1));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Int32(5), kPropertyBoolean),
            Variant::Bool(-1));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::String(u"2001-01-01"), kPropertyDate),
            Variant::Date(36892));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::String(u"36892"), kPropertyDate),
            Variant::Date(36892));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Date(36892), kPropertyString),
            Variant::String(u"2001/01/01"));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Bool(0), kPropertyString),
            Variant::String(u"False"));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant(), kPropertyString), Variant::String(u""));
  EXPECT_EQ(wordrules::ConvertToPropertyType(Variant::Int32(3), kPropertyFloat),
            Variant::Double(3));
  EXPECT_THROW(wordrules::ConvertToPropertyType(Variant::String(u"soon"), kPropertyDate), ComError);
  EXPECT_THROW(wordrules::ConvertToPropertyType(Variant::String(u"x"), kPropertyFloat), ComError);
  EXPECT_THROW(wordrules::ConvertToPropertyType(Variant::Int32(1), 0), ComError);
}

TEST(WordValueTest, FieldTypeComesFromTheFirstWordOfTheCode) {
  EXPECT_EQ(wordrules::FieldTypeOfCode(u" DOCPROPERTY \"a\" "), platform::kWdFieldDocProperty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u"DocProperty\"a\""), platform::kWdFieldDocProperty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u"\tDATE\\@ \"d\""), 31);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u" DOCPROPERTYX \"a\" "), wordrules::kWdFieldEmpty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u" DOC PROPERTY "), wordrules::kWdFieldEmpty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u""), wordrules::kWdFieldEmpty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u"   "), wordrules::kWdFieldEmpty);
  EXPECT_EQ(wordrules::FieldTypeOfCode(u"ＤＯＣＰＲＯＰＥＲＴＹ"),
            wordrules::kWdFieldEmpty);  // full-width letters
}

TEST(WordValueTest, DocPropertyNamesQuotedOrNot) {
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u" DOCPROPERTY \"OUTLOOK$会社 名\" \\* MERGEFORMAT "),
            u"OUTLOOK$会社 名");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u" DOCPROPERTY  OUTLOOK$名 \\* MERGEFORMAT "),
            u"OUTLOOK$名");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u"DOCPROPERTY name\\* Upper"), u"name");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u"DOCPROPERTY \"open"), u"open");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u"DOCPROPERTY \"\" x"), u"");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u"DOCPROPERTY \\* MERGEFORMAT"), u"");
  EXPECT_EQ(wordrules::DocPropertyNameOfCode(u"DOCPROPERTY"), u"");
}

}  // namespace
}  // namespace sendnote::inmemory
