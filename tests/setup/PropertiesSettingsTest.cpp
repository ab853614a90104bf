#include <gtest/gtest.h>

#include "setup/PropertiesSettings.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Field = PropertiesSettings::Field;
using test::addShiwake;
using test::makeBooks;

TEST(PropertiesSettings, WhatEntriesWouldMakeWrongIsFixedOnceTheJournalHoldsAny)
{
  auto doc = makeBooks();
  EXPECT_TRUE(PropertiesSettings(*doc).canEditTermAndKind());
  addShiwake(*doc, 100, 300, 10);
  PropertiesSettings s(*doc);
  EXPECT_FALSE(s.canEditTermAndKind());
  s.name = "新商事";
  s.termNoText = "7";
  s.doUseWareki = true;
  s.isSeizou = true;
  s.startDate = Date(2024, 5, 1);
  s.endDate = Date(2025, 4, 30);
  s.decimalPrecision = 2;
  ASSERT_FALSE(s.check().isRefused());
  s.applyTo(*doc);
  const Kaisya& k = doc->kaisya();
  EXPECT_EQ(k.name(), "新商事");
  EXPECT_EQ(k.termNo(), 7);
  EXPECT_TRUE(k.doUseWareki());
  EXPECT_FALSE(k.isSeizou());
  EXPECT_EQ(k.termStartDate(), Date(2024, 4, 1));
  EXPECT_EQ(k.decimalPrecision(), 0);
}

TEST(PropertiesSettings, AnEmptyJournalLetsTermIndustryAndPrecisionChange)
{
  auto doc = makeBooks();
  doc->kamokuOfCode(100)->setStartBalance(1234, 99);
  PropertiesSettings s(*doc);
  s.startDate = Date(2024, 1, 1);
  s.endDate = Date(2024, 12, 31);
  s.isKensetu = true;
  s.decimalPrecision = 2;
  ASSERT_FALSE(s.check().isRefused());
  s.applyTo(*doc);
  EXPECT_EQ(doc->kaisya().termStartDate(), Date(2024, 1, 1));
  EXPECT_EQ(doc->kaisya().monthArray().size(), 12u);
  EXPECT_TRUE(doc->kaisya().isKensetu());
  EXPECT_TRUE(doc->kamokuOfCode(301)->isActive());
  // 1,234 yen stays 1,234 yen: 123,400 hundredths.
  EXPECT_EQ(doc->kaisya().decimalPrecision(), 2);
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(99), 123400);
}

TEST(PropertiesSettings, TermChecksAreTheNewDocumentOnes)
{
  auto doc = makeBooks();
  struct Case {
    Date start, end;
    Field field;
  } cases[] = {
      {Date(2024, 4, 1), Date(2025, 3, 30), Field::EndDate},
      {Date(2024, 4, 1), Date(2025, 4, 30), Field::EndDate},
      {Date(1980, 1, 1), Date(1980, 12, 31), Field::StartDate},
      {Date(2024, 4, 1), Date(2025, 3, 31), Field::None},
  };
  for (const Case& c : cases) {
    PropertiesSettings s(*doc);
    s.startDate = c.start;
    s.endDate = c.end;
    EXPECT_EQ(s.check().field, c.field) << c.end.toString();
  }
  PropertiesSettings blank(*doc);
  blank.name = "";
  EXPECT_EQ(blank.check().field, Field::Name);
}

TEST(PropertiesSettings, RescalingRefusesToLoseDigitsOrPassTheLimit)
{
  auto doc = makeBooks();
  KamokuKubun& root = *doc->rootKamokuKubun();
  doc->kamokuOfCode(100)->setStartBalance(1250, 99);
  EXPECT_EQ(PropertiesSettings::rescaleStartBalances(root, 2, 1, false), "");
  EXPECT_NE(PropertiesSettings::rescaleStartBalances(root, 2, 0, false), "");
  EXPECT_EQ(PropertiesSettings::rescaleStartBalances(root, 2, 1, true), "");
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(99), 125);

  doc->kamokuOfCode(270)->setStartBalance(Kaisya::kMaxInputAmountValue / 10 + 1, 99);
  EXPECT_NE(PropertiesSettings::rescaleStartBalances(root, 1, 2, true), "");
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(99), 125);  // nothing changed

  PropertiesSettings s(*doc);
  s.decimalPrecision = 2;
  EXPECT_EQ(s.check().field, Field::DecimalPrecision);
}

TEST(PropertiesSettings, PasswordRules)
{
  using Change = PropertiesSettings::PasswordChange;
  struct Case {
    const char* what;
    Change change;
    bool hasPassword, hasLimited;
    Field field;
    const char* message;
  };
  const char* const mismatch = PropertiesSettings::kPasswordMismatchMessage;
  const char* const lockedOut = PropertiesSettings::kLimitedWithoutPasswordMessage;
  const char* const same = PropertiesSettings::kSamePasswordsMessage;
  const Field none = Field::None, owner = Field::Password, limited = Field::LimitedUserPassword;
  const Case cases[] = {
      {"new password", {"abc", "abc", "", ""}, false, false, none, nullptr},
      {"confirmation differs", {"abc", "abd", "", ""}, false, false, owner, mismatch},
      {"limited confirmation differs", {"abc", "abc", "x", "y"}, false, false, limited, mismatch},
      {"limited alone locks the owner out", {"", "", "x", "x"}, false, false, limited, lockedOut},
      {"limited beside an existing password", {"", "", "x", "x"}, true, false, none, nullptr},
      {"clearing the password under a limited one", {"", "", "", "", true, false}, true, true, limited, lockedOut},
      {"clearing both", {"", "", "", "", true, true}, true, true, none, nullptr},
      {"the same for both", {"abc", "abc", "abc", "abc"}, false, false, limited, same},
  };
  for (const Case& c : cases) {
    const PropertiesSettings::Refusal r = PropertiesSettings::checkPasswords(c.change, c.hasPassword, c.hasLimited);
    EXPECT_EQ(r.field, c.field) << c.what;
    if (c.message) { EXPECT_EQ(r.message, c.message) << c.what; }
  }
}

}  // namespace
}  // namespace kivo
