// A small document for the field tests: a term from 2024-04-01 to 2025-03-31, a chart
// whose kana keys overlap on purpose, sub-accounts (one inactive), divisions (one
// inactive) and descriptions in an account-named group and in "その他".
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo::test {

inline KamokuPtr addFieldsTestKamoku(const KamokuKubunPtr& kubun, int code, const std::string& name,
                                     const std::string& kana, bool active = true)
{
  auto k = std::make_shared<Kamoku>();
  k->setCode(code);
  k->setName(name);
  k->setKana(kana);
  k->setIsActive(active);
  kubun->childrenKamoku().push_back(k);
  return k;
}

inline void addFieldsTestHojyo(const KamokuPtr& parent, int code, const std::string& name, const std::string& kana,
                               bool active = true)
{
  auto h = std::make_shared<HojyoKamoku>();
  h->setCode(code);
  h->setName(name);
  h->setKana(kana);
  h->setIsActive(active);
  h->setParentKamokuCode(parent->code());
  parent->hojyoKamokuArray().push_back(h);
}

inline std::unique_ptr<MyDocument> makeFieldsTestDocument(int decimalPrecision = 0)
{
  auto doc = std::make_unique<MyDocument>();
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  doc->kaisya().setDecimalPrecision(decimalPrecision);

  auto root = std::make_shared<KamokuKubun>();
  auto assets = std::make_shared<KamokuKubun>();
  assets->setKubunName("流動資産");
  auto fixed = std::make_shared<KamokuKubun>();
  fixed->setKubunName("固定資産");
  auto costs = std::make_shared<KamokuKubun>();
  costs->setKubunName("販売費及び一般管理費");
  root->children() = {assets, fixed, costs};

  addFieldsTestKamoku(assets, 100, "現金", "GENKIN")->setIsSuitouKamoku(true);
  KamokuPtr touza = addFieldsTestKamoku(assets, 110, "当座預金", "TOUZAYOKIN");
  touza->setIsSuitouKamoku(true);
  addFieldsTestHojyo(touza, 1, "みずほ銀行", "MIZUHO");
  addFieldsTestHojyo(touza, 2, "三井銀行", "MITSUI");
  addFieldsTestHojyo(touza, 3, "閉鎖口座", "HEISA", false);
  addFieldsTestHojyo(touza, 10, "りそな銀行", "RISONA");
  addFieldsTestKamoku(assets, 111, "普通預金", "HUTUUYOKIN")->setIsSuitouKamoku(true);
  KamokuPtr urikake = addFieldsTestKamoku(assets, 120, "売掛金", "URIKAKEKIN");
  addFieldsTestHojyo(urikake, 1, "A商事", "ASYOUJI");
  addFieldsTestKamoku(assets, 199, "現金過不足", "GENKINKAHUSOKU");
  addFieldsTestKamoku(fixed, 200, "建物", "TATEMONO")->setIsGenkasyoukyakuShisanKamoku(true);
  addFieldsTestKamoku(fixed, 210, "車両運搬具", "SYARYOUUNPANGU")->setIsGenkasyoukyakuShisanKamoku(true);
  addFieldsTestKamoku(costs, 500, "旅費交通費", "RYOHIKOUTUUHI");
  addFieldsTestKamoku(costs, 510, "通信費", "TUUSINHI");
  addFieldsTestKamoku(costs, 520, "消耗品費", "SYOUMOUHINHI");
  addFieldsTestKamoku(costs, 530, "雑費", "ZAPPI", false);
  doc->setRootKamokuKubun(root);

  auto addJigyoubu = [&](int code, const std::string& name, const std::string& kana, bool active) {
    auto j = std::make_shared<Jigyoubu>();
    j->setCode(code);
    j->setName(name);
    j->setKana(kana);
    j->setIsActive(active);
    doc->jigyoubuArray().push_back(j);
  };
  addJigyoubu(1, "本社", "HONSYA", true);
  addJigyoubu(2, "工場", "KOUJOU", true);
  addJigyoubu(3, "旧営業所", "KYUUEIGYOU", false);
  addJigyoubu(10, "支店", "SITEN", true);
  addJigyoubu(11, "支社", "SISYA", true);

  auto ryohi = std::make_shared<TekiyouGroup>("旅費交通費");
  ryohi->tekiyouArray().push_back(std::make_shared<Tekiyou>("電車代", "DENSYA"));
  ryohi->tekiyouArray().push_back(std::make_shared<Tekiyou>("タクシー代 出張", "TAXI"));
  TekiyouGroupPtr others = doc->othersTekiyouGroup();
  others->tekiyouArray().push_back(std::make_shared<Tekiyou>("タクシー代", "TAXI"));
  others->tekiyouArray().push_back(std::make_shared<Tekiyou>("事務用品購入", "jimu"));
  others->tekiyouArray().push_back(std::make_shared<Tekiyou>("電話代", "DENWA"));
  doc->tekiyouGroupArray().push_back(ryohi);
  return doc;
}

// Reads the typed text: the value expected, or nullopt for a refusal with the message
// that leaves the value alone.
inline void expectRead(Formatter& f, const std::string& typed, const std::optional<FieldValue>& expected,
                       const std::string& message = "")
{
  FieldValue v = FieldValue::code(-7);
  std::string error;
  const bool ok = f.getObjectValue(v, typed, &error);
  EXPECT_EQ(ok, expected.has_value()) << typed << ": " << error;
  if (expected) {
    EXPECT_EQ(v, *expected) << typed;
  } else {
    EXPECT_EQ(v, FieldValue::code(-7)) << typed;
    EXPECT_EQ(error, message) << typed;
  }
}

}  // namespace kivo::test
