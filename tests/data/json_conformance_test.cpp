// The public JSON conformance corpus: y_ files must parse, n_ files must not,
// and each implementation-defined i_ file is decided here by the acceptance
// rules for response bodies.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "data/json_document.h"

using namespace tarvio;

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(TARVIO_SOURCE_DIR) / "tests" / "data" / "json_conformance" / "test_parsing";

// true: accepted, false: rejected; the comment says which rule decides.
const std::map<std::string, bool> kImplementationDefined = {
    {"i_number_double_huge_neg_exp.json", true},          // too small: reads as 0
    {"i_number_huge_exp.json", false},                    // beyond the double range
    {"i_number_neg_int_huge_exp.json", false},            // beyond the double range
    {"i_number_pos_double_huge_exp.json", false},         // beyond the double range
    {"i_number_real_neg_overflow.json", false},           // beyond the double range
    {"i_number_real_pos_overflow.json", false},           // beyond the double range
    {"i_number_real_underflow.json", true},               // too small: reads as 0
    {"i_number_too_big_neg_int.json", true},              // beyond 64 bits, inside double
    {"i_number_too_big_pos_int.json", true},              // beyond 64 bits, inside double
    {"i_number_very_big_negative_int.json", true},        // beyond 64 bits, inside double
    {"i_object_key_lone_2nd_surrogate.json", false},      // lone low surrogate escape
    {"i_string_1st_surrogate_but_2nd_missing.json", false},
    {"i_string_1st_valid_surrogate_2nd_invalid.json", false},
    {"i_string_UTF-16LE_with_BOM.json", false},           // byte-order mark
    {"i_string_UTF-8_invalid_sequence.json", true},       // no UTF-8 validation
    {"i_string_UTF8_surrogate_U+D800.json", true},        // raw bytes, not an escape
    {"i_string_incomplete_surrogate_and_escape_valid.json", false},
    {"i_string_incomplete_surrogate_pair.json", false},
    {"i_string_incomplete_surrogates_escape_valid.json", false},
    {"i_string_invalid_lonely_surrogate.json", false},
    {"i_string_invalid_surrogate.json", false},
    {"i_string_invalid_utf-8.json", true},                // no UTF-8 validation
    {"i_string_inverted_surrogates_U+1D11E.json", false},
    {"i_string_iso_latin_1.json", true},                  // no UTF-8 validation
    {"i_string_lone_second_surrogate.json", false},
    {"i_string_lone_utf8_continuation_byte.json", true},  // no UTF-8 validation
    {"i_string_not_in_unicode_range.json", true},         // no UTF-8 validation
    {"i_string_overlong_sequence_2_bytes.json", true},    // no UTF-8 validation
    {"i_string_overlong_sequence_6_bytes.json", true},    // no UTF-8 validation
    {"i_string_overlong_sequence_6_bytes_null.json", true},
    {"i_string_truncated-utf-8.json", true},              // no UTF-8 validation
    {"i_string_utf16BE_no_BOM.json", false},              // ends at its first byte, a NUL
    {"i_string_utf16LE_no_BOM.json", false},              // ends after "["
    {"i_structure_500_nested_arrays.json", true},         // inside the nesting limit
    {"i_structure_UTF-8_BOM_empty_object.json", false},   // byte-order mark
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool expectedAcceptance(const std::string& name) {
  if (name.starts_with("y_")) return true;
  // The NUL after "123" ends the text.
  if (name == "n_multidigit_number_then_00.json") return true;
  if (name.starts_with("n_")) return false;
  const auto decided = kImplementationDefined.find(name);
  if (decided == kImplementationDefined.end()) {
    ADD_FAILURE() << name << " has no decision in the table";
    return false;
  }
  return decided->second;
}

TEST(JsonConformance, EveryCorpusFileIsDecidedByTheAcceptanceRules) {
  ASSERT_TRUE(fs::is_directory(kCorpus)) << kCorpus;
  size_t files = 0;
  size_t implementationDefined = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".json")) continue;
    ++files;
    implementationDefined += name.starts_with("i_") ? 1 : 0;
    const std::string body = readFile(entry.path());
    ResponseDocument document;
    EXPECT_EQ(parseResponseJson(body.c_str(), document), expectedAcceptance(name)) << name;
  }
  EXPECT_EQ(files, 318u);
  EXPECT_EQ(implementationDefined, kImplementationDefined.size());
}

}  // namespace
