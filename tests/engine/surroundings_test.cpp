// What the engine reaches outside itself: the owner that installs it, nested owners
// and what comes back when they go.
#include <gtest/gtest.h>

#include <optional>

#include "fake_table.h"
#include "recording_host.h"
#include "recording_results.h"
#include "surroundings.h"

namespace enginetest {
namespace {

using funktioner::Attachments;
using funktioner::Surroundings;

TEST(Surroundings, NestedOwnersOverrideWhatTheyHoldAndRestoreItWhenTheyGo) {
    std::vector<std::string> log;
    FakeTable table{&log};
    RecordingHost host{&log}, otherHost{&log};
    RecordingResults results{&log};
    // None: the headless stand-ins answer.
    EXPECT_FALSE(funktioner::HasTable());
    EXPECT_EQ(karvelo::host().MsgBox("?", karvelo::Buttons::YesNo, karvelo::Icon::None,
                                     karvelo::DefaultButton::Second, "t"),
              karvelo::Answer::No);
    {
        const Surroundings outer({.host = &host, .table = &table, .results = &results});
        EXPECT_EQ(&funktioner::table(), &table);
        {
            // Only the host is replaced; table and results come from outside.
            const Surroundings inner({.host = &otherHost});
            EXPECT_EQ(&karvelo::host(), &otherHost);
            EXPECT_EQ(&funktioner::table(), &table);
            EXPECT_EQ(&funktioner::results(), &results);
        }
        EXPECT_EQ(&karvelo::host(), &host);
    }
    EXPECT_FALSE(funktioner::HasTable());
    EXPECT_NE(&karvelo::host(), &host);
    EXPECT_NE(&funktioner::results(), &results);
}

// A window that closes while a later owner still lives: what it held goes with it,
// and the later owner's parts stay.
TEST(Surroundings, AnOwnerGoingOutOfOrderTakesOnlyItsOwnParts) {
    std::vector<std::string> log;
    FakeTable table{&log};
    RecordingHost host{&log};
    std::optional<Surroundings> window(std::in_place, Attachments{.host = &host, .table = &table});
    RecordingResults results{&log};
    std::optional<Surroundings> later(std::in_place, Attachments{.results = &results});
    window.reset();
    EXPECT_FALSE(funktioner::HasTable());
    EXPECT_NE(&karvelo::host(), &host);
    EXPECT_EQ(&funktioner::results(), &results);
    later.reset();
    EXPECT_EQ(Surroundings::InForce().results, nullptr);
}

}  // namespace
}  // namespace enginetest
