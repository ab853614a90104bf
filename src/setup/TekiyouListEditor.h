// The description list as the description sheet edits it: the groups (the group
// "その他" always first and always there, the others named after accounts) with their
// descriptions and kana keys. The sheet edits this copy; the document gets it back
// only when the sheet closes with OK and the copy passes its checks.
#pragma once

#include <string>
#include <vector>

namespace kivo {

class MyDocument;

class TekiyouListEditor {
public:
  struct Item {
    std::string tekiyou;
    std::string kana;
  };
  struct Group {
    std::string name;
    bool isOthersGroup = false;
    std::vector<Item> items;
  };
  struct Refusal {
    std::string message;
    int group = -1;
    int item = -1;
    bool isRefused() const { return !message.empty(); }
  };

  static constexpr const char* kInvalidTitle = "無効な摘要";

  explicit TekiyouListEditor(const MyDocument& document);

  int groupCount() const { return static_cast<int>(groups_.size()); }
  const Group& group(int g) const { return groups_.at(g); }
  int indexOfGroupNamed(const std::string& name) const;

  // The names of the active accounts that have no group yet, in code order: what a
  // new group may be named after.
  std::vector<std::string> namesAvailableForNewGroup() const;
  // Adds a group named after an account; -1 when the name is no active account's or
  // already has a group.
  int addGroup(const std::string& kamokuName);
  // Removes a group; its descriptions go to "その他", so that none is lost. "その他"
  // itself is never removed.
  bool removeGroup(int g);

  // Appends a description (without kana) to the group; answers its index.
  int addTekiyou(int g, const std::string& tekiyou);
  std::string setTekiyou(int g, int i, const std::string& tekiyou);
  std::string setKana(int g, int i, const std::string& kana);
  void removeTekiyou(int g, int i);
  // Moves a description to the end of another group; answers its new index.
  int moveTekiyou(int g, int i, int toGroup);
  bool moveTekiyouWithinGroup(int g, int from, int to);

  // Every description has text, no text stands twice in one group.
  Refusal validate() const;
  // Replaces the document's groups by the copy.
  void writeBack(MyDocument& document) const;

private:
  const MyDocument* document_;
  std::vector<Group> groups_;
};

}  // namespace kivo
