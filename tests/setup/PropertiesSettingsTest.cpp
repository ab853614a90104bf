#include <gtest/gtest.h>

#include "setup/PropertiesSettings.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using Field = PropertiesSettings::Field;
using test::addShiwake;
using test::makeBooks;

TEST(PropertiesSettings, AnEmptyJournalLetsTermIndustryAndPrecisionChangeAndEntriesFixThem)
{
  auto doc = makeBooks();
  EXPECT_TRUE(PropertiesSettings(*doc).canEditTermAndKind());
  doc->kamokuOfCode(100)->setStartBalance(1234, 99);
  PropertiesSettings s(*doc);
  s.startDate = Date(2024, 1, 1);
  s.endDate = Date(2024, 12, 31);
  s.isKensetu = true;
  s.decimalPrecision = 2;
  ASSERT_FALSE(s.check().isRefused());
  s.applyTo(*doc);
  const Kaisya& k = doc->kaisya();
  EXPECT_EQ(std::tuple(k.termStartDate(), k.monthArray().size(), k.isKensetu(), doc->kamokuOfCode(301)->isActive()),
            std::tuple(Date(2024, 1, 1), size_t{12}, true, true));
  // 1,234 yen stays 1,234 yen: 123,400 hundredths.
  EXPECT_EQ(std::pair(k.decimalPrecision(), doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(99)),
            std::pair(2, int64_t{123400}));

  // What entries would make wrong is fixed once the journal holds any.
  addShiwake(*doc, 100, 300, 10);
  PropertiesSettings t(*doc);
  EXPECT_FALSE(t.canEditTermAndKind());
  t.name = "新商事";
  t.termNoText = "7";
  t.doUseWareki = true;
  t.isSeizou = true;
  t.startDate = Date(2024, 5, 1);
  t.endDate = Date(2025, 4, 30);
  t.decimalPrecision = 0;
  ASSERT_FALSE(t.check().isRefused());
  t.applyTo(*doc);
  EXPECT_EQ(std::tuple(k.name(), k.termNo(), k.doUseWareki(), k.isSeizou(), k.termStartDate(), k.decimalPrecision()),
            std::tuple(std::string("新商事"), 7, true, false, Date(2024, 1, 1), 2));
}

TEST(PropertiesSettings, TermChecksAreTheNewDocumentOnesAndRescalingLosesNothing)
{
  auto doc = makeBooks();
  const std::tuple<Date, Date, Field> cases[] = {{Date(2024, 4, 1), Date(2025, 3, 30), Field::EndDate},
                                                 {Date(2024, 4, 1), Date(2025, 4, 30), Field::EndDate},
                                                 {Date(1980, 1, 1), Date(1980, 12, 31), Field::StartDate},
                                                 {Date(2024, 4, 1), Date(2025, 3, 31), Field::None}};
  for (const auto& [start, end, field] : cases) {
    PropertiesSettings s(*doc);
    s.startDate = start;
    s.endDate = end;
    EXPECT_EQ(s.check().field, field) << end.toString();
  }
  PropertiesSettings blank(*doc);
  blank.name = "";
  EXPECT_EQ(blank.check().field, Field::Name);

  // Rescaling refuses to lose digits or to pass the limit.
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
  // What, the change, whether a password and a limited user's password exist, the
  // field refused and its message.
  const char* const mismatch = PropertiesSettings::kPasswordMismatchMessage;
  const char* const lockedOut = PropertiesSettings::kLimitedWithoutPasswordMessage;
  const char* const same = PropertiesSettings::kSamePasswordsMessage;
  const Field none = Field::None, owner = Field::Password, limited = Field::LimitedUserPassword;
  const std::tuple<const char*, Change, bool, bool, Field, const char*> cases[] = {
      {"new password", {"abc", "abc", "", ""}, false, false, none, nullptr},
      {"confirmation differs", {"abc", "abd", "", ""}, false, false, owner, mismatch},
      {"limited confirmation differs", {"abc", "abc", "x", "y"}, false, false, limited, mismatch},
      {"limited alone locks the owner out", {"", "", "x", "x"}, false, false, limited, lockedOut},
      {"limited beside an existing password", {"", "", "x", "x"}, true, false, none, nullptr},
      {"clearing the password under a limited one", {"", "", "", "", true, false}, true, true, limited, lockedOut},
      {"clearing both", {"", "", "", "", true, true}, true, true, none, nullptr},
      {"the same for both", {"abc", "abc", "abc", "abc"}, false, false, limited, same},
  };
  for (const auto& [what, change, hasPassword, hasLimited, field, message] : cases) {
    const PropertiesSettings::Refusal r = PropertiesSettings::checkPasswords(change, hasPassword, hasLimited);
    EXPECT_EQ(r.field, field) << what;
    if (message) { EXPECT_EQ(r.message, message) << what; }
  }
}

}  // namespace
}  // namespace kivo
