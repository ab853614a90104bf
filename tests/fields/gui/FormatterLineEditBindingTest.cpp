#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "fields/FieldsTestDocument.h"
#include "fields/HidukeFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "platform/FieldMessage.h"

namespace kivo {
namespace {

TEST(FormatterLineEditBinding, ShowsReadsAndRefusesWithTheTextLeftAsTyped)
{
  auto doc = test::makeFieldsTestDocument();
  KamokuFormatter formatter(*doc, false);
  QLineEdit edit;
  auto* binding = new FormatterLineEditBinding(&edit, formatter);
  QSignalSpy changed(binding, &FormatterLineEditBinding::objectValueChanged);

  binding->setObjectValue(FieldValue::code(100));
  EXPECT_EQ(edit.text(), "現金");

  edit.setText("genkink");
  ASSERT_TRUE(binding->commit());
  EXPECT_EQ(binding->objectValue(), FieldValue::code(199));
  EXPECT_EQ(edit.text(), "現金過不足");  // shown afresh from the code
  EXPECT_EQ(changed.count(), 1);

  edit.setText("GEN");  // several accounts: the text stays for the picker
  ASSERT_TRUE(binding->commit());
  EXPECT_EQ(binding->objectValue(), FieldValue::text("GEN"));
  EXPECT_EQ(edit.text(), "GEN");

  edit.setText("XYZ");
  QString error;
  EXPECT_FALSE(binding->commit(&error));
  EXPECT_EQ(error, "一致する勘定科目がありません。");
  EXPECT_EQ(binding->objectValue(), FieldValue::text("GEN"));
  EXPECT_EQ(changed.count(), 2);

  // Keystrokes the formatter refuses are not dropped to leave another date: the text
  // stays as typed, the field says why at once, and the whole text is refused.
  HidukeFormatter hiduke(*doc, false);
  QLineEdit dateEdit;
  dateEdit.show();
  QSignalSpy refused(new FormatterLineEditBinding(&dateEdit, hiduke), &FormatterLineEditBinding::textRefused);
  QTest::keyClicks(&dateEdit, "4a/3x1");
  EXPECT_EQ(dateEdit.text(), "4a/3x1");
  EXPECT_EQ(FieldMessage::shownText(), "無効な日付です。");
  EXPECT_EQ(FieldMessage::shownWidget(), &dateEdit);
  QTest::keyClick(&dateEdit, Qt::Key_Return);  // ends the editing
  ASSERT_EQ(refused.count(), 1);
  EXPECT_EQ(refused.at(0).at(0).toString(), "無効な日付です。");
  EXPECT_EQ(dateEdit.text(), "4a/3x1");
  EXPECT_EQ(FieldMessage::shownText(), "無効な日付です。");
}

}  // namespace
}  // namespace kivo
