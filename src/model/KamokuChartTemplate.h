// A chart-of-accounts template: the category tree and accounts that a new document
// of one company kind starts with, read from a resource the program carries.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/KamokuKubun.h"

namespace kivo {

class Kaisya;

class KamokuChartTemplate {
public:
  // The template of the company's kind (corporation: Companies-Act chart or the
  // older form; sole proprietor; household book).
  static const KamokuChartTemplate& templateForKaisya(const Kaisya& kaisya, bool useKaisyahouChart);
  // Reads a template's text; nullopt with a reason in *error when it is malformed.
  static std::optional<KamokuChartTemplate> parse(std::string_view text, std::string* error = nullptr);

  // The chart name stored in the tree: "Kamoku20060501" or "Kamoku".
  const std::string& pListResource() const { return pListResource_; }
  // A new tree, every account and category fresh (no sharing between documents).
  KamokuKubunPtr build() const;

private:
  std::string pListResource_;
  KamokuKubunPtr prototype_;
};

}  // namespace kivo
