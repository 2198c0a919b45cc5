// The message a second start sends to the running instance, with its activation token.
#include "shell/command_request.h"
#include "shell/restore_request.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

TEST(RestoreRequest, TokensTravelAndComeBackUnchanged) {
    const RestoreRequest sent{"kwin-1234_abc:XY", "launcher-4711-host-velloran-0_TIME99881"};
    const std::string message = encodeRestoreRequest(sent);
    EXPECT_EQ(message, "restore\nactivation-token=kwin-1234_abc:XY\n"
                       "startup-id=launcher-4711-host-velloran-0_TIME99881\n\n");
    ASSERT_TRUE(isWholeRestoreRequest(message));
    const auto received = decodeRestoreRequest(message);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->activationToken, sent.activationToken);
    EXPECT_EQ(received->startupId, sent.startupId);
}

TEST(RestoreRequest, WithoutTokensTheWindowStillComesBack) {
    EXPECT_EQ(encodeRestoreRequest({}), "restore\n\n");
    const auto received = decodeRestoreRequest("restore\n\n");
    ASSERT_TRUE(received);
    EXPECT_EQ(received->activationToken, "");
    EXPECT_EQ(received->startupId, "");
    // An older running copy's message has no closing line; what came before the hang-up still counts.
    EXPECT_TRUE(decodeRestoreRequest("restore\n"));
}

TEST(RestoreRequest, ATokenThatCouldBreakTheMessageIsLeftOut) {
    // A line break would start a line of its own; a blank or a control character is no token either.
    const std::string forged = encodeRestoreRequest({"abc\nstartup-id=forged", "id with blank"});
    EXPECT_EQ(forged, "restore\n\n");
    EXPECT_EQ(encodeRestoreRequest({std::string(513, 'a'), "\x01"}), "restore\n\n");
    EXPECT_EQ(encodeRestoreRequest({std::string(512, 'a'), ""}),
              "restore\nactivation-token=" + std::string(512, 'a') + "\n\n");
    const auto received = decodeRestoreRequest("restore\nactivation-token=ok\tno\nstartup-id=\n\n");
    ASSERT_TRUE(received);
    EXPECT_EQ(received->activationToken, "");
    EXPECT_EQ(received->startupId, "");
}

TEST(RestoreRequest, OnlyWholeLinesOfARestoreRequestCount) {
    EXPECT_FALSE(decodeRestoreRequest(""));
    EXPECT_FALSE(decodeRestoreRequest("restore"));
    EXPECT_FALSE(decodeRestoreRequest("restored\n\n"));
    EXPECT_FALSE(decodeRestoreRequest("quit\nrestore\n\n"));
    EXPECT_FALSE(isWholeRestoreRequest("restore\nactivation-token=abc\n"));
    // A connection lost in the middle of a token: the window comes back without it.
    const auto cut = decodeRestoreRequest("restore\nactivation-token=abc");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->activationToken, "");
    // Unknown lines are passed over; nothing after the closing empty line is read.
    const auto later = decodeRestoreRequest("restore\ncolour=blue\nstartup-id=s1\n\nactivation-token=t2\n");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->startupId, "s1");
    EXPECT_EQ(later->activationToken, "");
}

TEST(RestoreRequest, TheLaunchersTokenGoesBeforeTheCompositorsAndABadOneIsDropped) {
    const RestoreRequest launched = withFallbackActivationToken({"launcher-token", "id_TIME5"}, "compositor");
    EXPECT_EQ(launched.activationToken, "launcher-token");
    EXPECT_EQ(launched.startupId, "id_TIME5");
    // From a shell there is no launcher's token: the one the compositor gave for the OK click travels.
    EXPECT_EQ(encodeRestoreRequest(withFallbackActivationToken({"", "id_TIME5"}, "c1c6b44c3e95")),
              "restore\nactivation-token=c1c6b44c3e95\nstartup-id=id_TIME5\n\n");
    // A compositor that gave none, or a text that is no token: the window still comes back.
    EXPECT_EQ(encodeRestoreRequest(withFallbackActivationToken({}, "")), "restore\n\n");
    EXPECT_EQ(encodeRestoreRequest(withFallbackActivationToken({}, "two\nlines")), "restore\n\n");
}

TEST(CommandRequest, ArgumentsTravelUnchangedAndACutMessageIsNone) {
    const std::vector<std::string> sent{"--add", "memo", "--note", "two\nlines \\n\\", "", "arg=x"};
    const std::string message = encodeCommandRequest(sent);
    EXPECT_TRUE(isWholeRestoreRequest(message));
    EXPECT_EQ(decodeCommandRequest(message), sent);
    EXPECT_EQ(decodeCommandRequest(message.substr(0, message.size() - 1)), std::nullopt);
    EXPECT_EQ(decodeCommandRequest("command\narg=bad\\x\n\n"), std::nullopt);
    EXPECT_EQ(decodeCommandRequest(encodeRestoreRequest({})), std::nullopt);
    EXPECT_FALSE(decodeRestoreRequest(message).has_value());

    const auto reply = decodeCommandReply(encodeCommandReply({2, "No task\n", {}}));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->status, 2);
    EXPECT_EQ(reply->text, "No task\n");
    EXPECT_EQ(decodeCommandReply(""), std::nullopt);
    EXPECT_EQ(decodeCommandReply("x\n"), std::nullopt);
}

TEST(RestoreRequest, StartupIdGivesTheTimeOfTheUsersAction) {
    EXPECT_EQ(startupIdTime("xfce4-panel-1234-host-velloran-0_TIME84331"), 84331u);
    EXPECT_EQ(startupIdTime("a_TIMEb_TIME4294967295"), 4294967295u);
    // No time, a time that is no number, zero ("now") or beyond 32 bits: no user action to go by.
    for (const char* id : {"", "launcher-1234", "x_TIME", "x_TIME12a", "x_TIME0", "x_TIME4294967296",
                           "x_TIME-5", "x_TIME99999999999"})
        EXPECT_FALSE(startupIdTime(id)) << id;
}

} // namespace
} // namespace velloran
