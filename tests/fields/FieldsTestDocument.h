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

// An account, sub-account or division with its code, name and kana.
template <typename T>
std::shared_ptr<T> makeFieldsTestNamed(int code, const std::string& name, const std::string& kana, bool active = true)
{
  auto x = std::make_shared<T>();
  x->setCode(code);
  x->setName(name);
  x->setKana(kana);
  x->setIsActive(active);
  return x;
}

inline std::unique_ptr<MyDocument> makeFieldsTestDocument(int decimalPrecision = 0)
{
  auto doc = std::make_unique<MyDocument>();
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  doc->kaisya().setDecimalPrecision(decimalPrecision);

  auto root = std::make_shared<KamokuKubun>();
  for (const char* name : {"流動資産", "固定資産", "販売費及び一般管理費"}) {
    root->children().push_back(std::make_shared<KamokuKubun>());
    root->children().back()->setKubunName(name);
  }
  // The section by its place above; the mark: 'c' a cash account, 'd' depreciable, 'x' inactive.
  const struct {
    size_t kubun;
    int code;
    const char *name, *kana;
    char mark = ' ';
  } kamoku[] = {{0, 100, "現金", "GENKIN", 'c'},
                {0, 110, "当座預金", "TOUZAYOKIN", 'c'},
                {0, 111, "普通預金", "HUTUUYOKIN", 'c'},
                {0, 120, "売掛金", "URIKAKEKIN"},
                {0, 199, "現金過不足", "GENKINKAHUSOKU"},
                {1, 200, "建物", "TATEMONO", 'd'},
                {1, 210, "車両運搬具", "SYARYOUUNPANGU", 'd'},
                {2, 500, "旅費交通費", "RYOHIKOUTUUHI"},
                {2, 510, "通信費", "TUUSINHI"},
                {2, 520, "消耗品費", "SYOUMOUHINHI"},
                {2, 530, "雑費", "ZAPPI", 'x'}};
  for (const auto& r : kamoku) {
    KamokuPtr k = makeFieldsTestNamed<Kamoku>(r.code, r.name, r.kana, r.mark != 'x');
    k->setIsSuitouKamoku(r.mark == 'c');
    k->setIsGenkasyoukyakuShisanKamoku(r.mark == 'd');
    root->children()[r.kubun]->childrenKamoku().push_back(k);
  }
  doc->setRootKamokuKubun(root);
  const struct {
    int parent, code;
    const char *name, *kana;
    bool active = true;
  } hojyo[] = {
      {110, 1, "みずほ銀行", "MIZUHO"},  {110, 2, "三井銀行", "MITSUI"}, {110, 3, "閉鎖口座", "HEISA", false},
      {110, 10, "りそな銀行", "RISONA"}, {120, 1, "A商事", "ASYOUJI"},
  };
  for (const auto& r : hojyo) {
    auto h = makeFieldsTestNamed<HojyoKamoku>(r.code, r.name, r.kana, r.active);
    h->setParentKamokuCode(r.parent);
    doc->kamokuOfCode(r.parent)->hojyoKamokuArray().push_back(h);
  }
  doc->jigyoubuArray() = {
      makeFieldsTestNamed<Jigyoubu>(1, "本社", "HONSYA"), makeFieldsTestNamed<Jigyoubu>(2, "工場", "KOUJOU"),
      makeFieldsTestNamed<Jigyoubu>(3, "旧営業所", "KYUUEIGYOU", false),
      makeFieldsTestNamed<Jigyoubu>(10, "支店", "SITEN"), makeFieldsTestNamed<Jigyoubu>(11, "支社", "SISYA")};

  auto ryohi = std::make_shared<TekiyouGroup>("旅費交通費");
  ryohi->tekiyouArray() = {std::make_shared<Tekiyou>("電車代", "DENSYA"),
                           std::make_shared<Tekiyou>("タクシー代 出張", "TAXI")};
  doc->othersTekiyouGroup()->tekiyouArray() = {std::make_shared<Tekiyou>("タクシー代", "TAXI"),
                                               std::make_shared<Tekiyou>("事務用品購入", "jimu"),
                                               std::make_shared<Tekiyou>("電話代", "DENWA")};
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
