// Help made from an option table: groups in their order, each option's names
// and placeholder in their column, its help wrapped beside them.
#include <gtest/gtest.h>

#include "tools/support/option_help.h"

namespace {

TEST(OptionHelp, ListsGroupsInOrderWithTheirOptionsWrappedBesideTheNames) {
  const support::ProgramHelp help{
      "Usage: demo [OPTIONS]",
      "Opening, as it stands.\n",
      {{"Second", "", ""}, {"First", "an aside", "A note on the group that runs on long enough to be wrapped to the "
                                                 "width at a word break."}},
      {{"--one", "N", "First", "short help"},
       {"-h,--help", "", "Second", "flag help"},
       {"--a-rather-long-option", "VALUE", "First",
        "help that starts on a line of its own because the name is too wide for the column.\nA paragraph."}},
      "Closing.\n"};
  EXPECT_EQ(support::formatProgramHelp(help),
            "Usage: demo [OPTIONS]\n\n"
            "Opening, as it stands.\n\n"
            "Second:\n"
            "  -h, --help             flag help\n\n"
            "First (an aside):\n"
            "  --one N                short help\n"
            "  --a-rather-long-option VALUE\n"
            "                         help that starts on a line of its own because the name\n"
            "                         is too wide for the column.\n"
            "                         A paragraph.\n"
            "  A note on the group that runs on long enough to be wrapped to the width at a\n"
            "  word break.\n\n"
            "Closing.\n");
}

}  // namespace
