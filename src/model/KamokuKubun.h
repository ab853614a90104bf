// A node of the account-category tree. The root is built from the chart template of
// the company's kind; every lookup walks the tree depth-first, each sub-category's
// subtree before the node's own accounts, so the tree's order is the chart's order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Kamoku.h"
#include "model/SeenCodes.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;
class Kaisya;
class KamokuKubun;
using KamokuKubunPtr = std::shared_ptr<KamokuKubun>;

class KamokuKubun {
public:
  // Chart template names recorded in pListResource: the Companies-Act chart of a
  // corporation, and the chart of every other kind (and the older corporate form).
  static constexpr const char* kKaisyahouChartName = "Kamoku20060501";
  static constexpr const char* kOlderChartName = "Kamoku";

  KamokuKubun() = default;

  // Builds the chart of the company's kind. For a corporation useKaisyahouChart picks
  // the Companies-Act chart (the default) or the older form; other kinds ignore it.
  static KamokuKubunPtr rootKamokuKubunForKaisya(const Kaisya& kaisya, bool useKaisyahouChart = true);

  const std::string& kubunName() const { return kubunName_; }
  void setKubunName(const std::string& v) { kubunName_ = v; }
  const std::string& longKubunName() const { return longKubunName_; }
  void setLongKubunName(const std::string& v) { longKubunName_ = v; }
  const std::string& pListResource() const { return pListResource_; }
  void setPListResource(const std::string& v) { pListResource_ = v; }
  std::vector<KamokuKubunPtr>& children() { return children_; }
  const std::vector<KamokuKubunPtr>& children() const { return children_; }
  std::vector<KamokuPtr>& childrenKamoku() { return childrenKamoku_; }
  const std::vector<KamokuPtr>& childrenKamoku() const { return childrenKamoku_; }

  // What a user types: the first account (active unless acceptInactiveKamoku) whose
  // decimal code begins with the text.
  KamokuPtr matchKamokuCode(const std::string& text, bool acceptInactiveKamoku = false) const;
  // A whole code: exactly that account, never one whose code merely starts the same.
  KamokuPtr kamokuOfCode(int32_t code, bool acceptInactiveKamoku = true) const;
  // The first active account of that name; "諸口" names no account.
  KamokuPtr kamokuForName(const std::string& name) const;
  // The category of that name: each child's subtree is searched before the node's
  // direct children are compared.
  KamokuKubunPtr childForName(const std::string& name) const;
  // The first node that directly holds an active account whose code begins with text.
  const KamokuKubun* childWhichHasChildrenKamokuCode(const std::string& text) const;
  // Appends every account of the subtree, active or not, in tree order.
  void getChildrenKamokuArray(std::vector<KamokuPtr>& out) const;
  // Calls f for every account in tree order.
  void forEachKamoku(const std::function<void(const KamokuPtr&)>& f) const;

  // Picker-sheet counts over the transient isTempSelected flag (active accounts only).
  int numberOfTempSelectedChildrenKamoku() const { return countTemp(true); }
  int numberOfTempUnselectedChildrenKamoku() const { return countTemp(false); }
  int numberOfChildrenWhichHasTempSelectedChildrenKamoku() const { return countChildrenWithTemp(true); }
  int numberOfChildrenWhichHasTempUnselectedChildrenKamoku() const { return countChildrenWithTemp(false); }
  KamokuKubunPtr childWhichHasTempSelectedChildrenKamokuAtIndex(int index) const
  {
    return childWithTempAt(true, index);
  }
  KamokuKubunPtr childWhichHasTempUnselectedChildrenKamokuAtIndex(int index) const
  {
    return childWithTempAt(false, index);
  }
  KamokuPtr tempSelectedChildKamokuAtIndex(int index) const { return ownTempAt(true, index); }
  KamokuPtr tempUnselectedChildKamokuAtIndex(int index) const { return ownTempAt(false, index); }

  static constexpr int32_t kClassVersion = 0;
  void encodeWithCoder(ArchiveWriter& coder) const;
  // Reads the whole tree; fails when two of its accounts have one code.
  bool initWithCoder(ArchiveReader& coder);

private:
  bool initWithCoder(ArchiveReader& coder, int depth, SeenCodes<Kamoku::kMaxCode>& codes);
  int countTemp(bool selected) const;
  int countChildrenWithTemp(bool selected) const;
  KamokuKubunPtr childWithTempAt(bool selected, int index) const;
  KamokuPtr ownTempAt(bool selected, int index) const;

  std::string kubunName_;
  std::string longKubunName_;
  std::string pListResource_;
  std::vector<KamokuKubunPtr> children_;
  std::vector<KamokuPtr> childrenKamoku_;
};

}  // namespace kivo
