// The division list as the division-list sheet edits it: always 99 slots, codes 00 to
// 98 (99 stands for the whole company), each with a name, a kana key and whether the
// division is in use. The sheet edits this copy; the document gets it back only when
// the sheet closes with OK and the copy passes its checks.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "model/Jigyoubu.h"

namespace kivo {

class MyDocument;

class JigyoubuListEditor {
public:
  struct Slot {
    JigyoubuPtr original;  // nullptr: a slot the document holds no record for
    int32_t code = -1;
    std::string name;
    std::string kana;
    bool isActive = false;
  };
  struct Refusal {
    std::string message;
    int slot = -1;
    bool isRefused() const { return !message.empty(); }
  };

  static constexpr int kSlotCount = 99;
  static constexpr const char* kInvalidTitle = "無効な事業部";

  explicit JigyoubuListEditor(const MyDocument& document);

  int slotCount() const { return kSlotCount; }
  const Slot& slot(int i) const { return slots_.at(i); }

  std::string setName(int i, const std::string& name);
  std::string setKana(int i, const std::string& kana);
  // Refused for a division that entries use or that holds an opening balance: the
  // reports would drop its amounts and stop balancing.
  std::string setIsActive(int i, bool active);

  // Every active division named, names unique among active divisions.
  Refusal validate() const;

  // Writes the slots back: records keep their objects, a slot that is neither named
  // nor active is left out. When divisions come into use in a document that had none,
  // the company's opening balances (division 99) also become those of the first active
  // division, so that the company figure stays the sum of its divisions; the answer is
  // that division's code, -1 when nothing moved.
  int32_t writeBack(MyDocument& document) const;

private:
  bool isUsed(int32_t code) const;

  const MyDocument* document_;
  std::vector<Slot> slots_;
  std::set<int32_t> usedCodes_;
};

}  // namespace kivo
