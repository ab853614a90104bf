// The editing of the change reasons of the statement of changes in net assets: the
// document's ordered reasons, each with the journal entries assigned to it. Reasons
// are added, renamed, removed (their entries fall back to "no reason") and reordered;
// an entry moves from one reason to another. Reasons are told apart by their name.
//
// Every change writes the entry's new reason into its hendouReasonStr at once, keeps
// each reason's entries in journal order and marks the document edited, so the
// document's own rebuild of the lists (updateHendouReasonArray) always agrees.
//
// The three fixed reasons ("no reason", "当期純損益", "株主資本以外の項目の当期変動額(純額)")
// are never renamed or removed; "no reason" is never moved; "当期純損益" takes no entry.
// "no reason" is the name stored in documents and entries; the user sees it as
// 理由なし, which therefore no other reason may be called.
#pragma once

#include <string>

#include "model/HendouReason.h"

namespace kivo {

class MyDocument;

class HendouReasonEditor {
public:
  static constexpr const char* kNewReason = "新しい理由";
  // How "no reason" is shown.
  static constexpr const char* kNoReasonTitle = "理由なし";

  explicit HendouReasonEditor(MyDocument& document) : document_(document) {}

  static bool isFixedReason(const std::string& name);
  // The name the user sees: 理由なし for "no reason", else the name itself.
  static const std::string& titleOfReason(const std::string& name);
  // The reason named so, nullptr when none is.
  HendouReasonPtr reasonNamed(const std::string& name) const;
  // The reason whose list holds the entry, nullptr when none does.
  HendouReasonPtr reasonOfShiwake(const Shiwake* shiwake) const;
  // Whether "no reason" holds any entry (the statement cannot print then).
  bool noReasonHoldsShiwake() const;

  // A name the reason may take: not empty, not 理由なし and no other reason's. Fixed
  // reasons take none.
  bool canRename(const HendouReason& reason, const std::string& name) const;
  bool rename(const HendouReasonPtr& reason, const std::string& name);
  // Appends 新しい理由 (or 新しい理由 2, 3, ...: the first free name).
  HendouReasonPtr addReason();
  // The entry without reason (or with "no reason") and with a description goes to
  // the reason named after that description, made at the end when none exists.
  // nullptr, and nothing changed, for any other entry and for a description no
  // reason may be named (当期純損益, 理由なし).
  HendouReasonPtr addReasonFromShiwake(const ShiwakePtr& shiwake);
  // Removes a reason that is not fixed; its entries go to "no reason" in journal
  // order. False when nothing was removed.
  bool removeReason(const HendouReasonPtr& reason);
  // Moves the reason to the position among the reasons as an outline drop names it:
  // the child index counts the rows before the reason is taken out, and nothing goes
  // above the first row. False when refused.
  bool moveReason(const HendouReasonPtr& reason, int childIndex);
  // Moves the entry to the reason (not "当期純損益", not the one holding it).
  bool moveShiwake(const ShiwakePtr& shiwake, const HendouReasonPtr& target);

private:
  void insertInJournalOrder(HendouReason& reason, const ShiwakePtr& shiwake);
  void takeOut(const Shiwake* shiwake);
  void changed();

  MyDocument& document_;
};

}  // namespace kivo
