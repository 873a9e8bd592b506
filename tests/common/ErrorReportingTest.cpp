#include "ErrorReporting.h"

#include "Errors.h"

#include <gtest/gtest.h>
#include <vector>

namespace precivox {
namespace {

struct RecordingPrompter : Prompter {
    struct Box {
        std::string caption, text;
        MessageIcon icon;
    };
    std::vector<Box> boxes;
    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override {
        boxes.push_back({caption, text, icon});
    }
};

TEST(ErrorReporting, AddsAFullStopOnlyWhereMissing) {
    EXPECT_EQ(errorBoxText("'$' is not a valid integer value"),
              "'$' is not a valid integer value.");
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText(""), ".");
}

TEST(ErrorReporting, ShowsErrorsAndSwallowsTheSilentAbort) {
    RecordingPrompter prompter;
    EXPECT_TRUE(runReported(prompter, [] {}));
    EXPECT_FALSE(runReported(prompter, [] { throw SilentAbort(); }));
    EXPECT_TRUE(prompter.boxes.empty());

    EXPECT_FALSE(runReported(prompter, [] { throw DatabaseError("Lost connection"); }));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Precivox");
    EXPECT_EQ(prompter.boxes[0].text, "Lost connection.");
    EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::error);
}

} // namespace
} // namespace precivox
