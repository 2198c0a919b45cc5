#include "common/message.h"
#include "common/result.h"
#include "files/file_io.h"
#include "test_support.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace velloran {
namespace {

TEST(Message, FillsEachPlaceholderOnceWithItsArgument) {
    const Message message("Files", "Cannot read \"%1\": %2",
                          {std::string("/tmp/a"), std::string("No such file")});
    EXPECT_EQ(message.english(), "Cannot read \"/tmp/a\": No such file");
    // An argument's own placeholders are text: a path or a reason that holds "%2" is shown as it is.
    const Message tricky("Files", "%1 then %2", {std::string("50%2 off"), std::string("%1%1")});
    EXPECT_EQ(tricky.english(), "50%2 off then %1%1");
}

TEST(Message, PlaceholdersWithoutArgumentsAndLoneSignsStay) {
    EXPECT_EQ(Message("C", "%1 of %3 at 100%", {std::string("one")}).english(), "one of %3 at 100%");
    EXPECT_EQ(Message("C", "%0 %% %a %").english(), "%0 %% %a %");
    // Only %1..%9 are placeholders: "%10" is the first argument and a 0.
    EXPECT_EQ(Message("C", "%10", {std::string("x")}).english(), "x0");
    EXPECT_EQ(Message("C", "%2%1", {std::string("a"), std::string("b")}).english(), "ba");
}

TEST(Message, CountedTextsTakeThePluralOfTheirCount) {
    const char* source = "%1 is short by %n byte(s)";
    for (const auto& [count, text] :
         std::initializer_list<std::pair<long long, const char*>>{{0, "a.tsk is short by 0 bytes"},
                                                                  {1, "a.tsk is short by 1 byte"},
                                                                  {2, "a.tsk is short by 2 bytes"},
                                                                  {3887, "a.tsk is short by 3887 bytes"}})
        EXPECT_EQ(Message::counted("C", source, count, {std::string("a.tsk")}).english(), text);
    // An argument's "(s)" and "%n" are its own text.
    EXPECT_EQ(Message::counted("C", source, 1, {std::string("(s)%n")}).english(), "(s)%n is short by 1 byte");
    EXPECT_NE(Message::counted("C", source, 1), Message::counted("C", source, 2));
}

TEST(Message, VerbatimTextsAreNeverFilled) {
    const Message verbatim(std::string("Cannot read \"%1\""));
    EXPECT_EQ(verbatim.context(), nullptr);
    EXPECT_EQ(verbatim.english(), "Cannot read \"%1\"");
    EXPECT_TRUE(Message().empty());
    EXPECT_FALSE(verbatim.empty());
    EXPECT_FALSE(Message("C", "").empty()) << "a marked text is a message even when its source is empty";
}

TEST(Message, ArgumentsMayBeMessagesOfTheirOwn) {
    const Message why("TaskStore", "they do not fit \"%1\"", {std::string("/p/tasks.tsk")});
    const Message told("TaskStore", "Changes were not applied, because %1.\nThey are kept in \"%2\".",
                       {why, std::string("/s/j.unmatched")});
    EXPECT_EQ(told.english(),
              "Changes were not applied, because they do not fit \"/p/tasks.tsk\".\nThey are kept in "
              "\"/s/j.unmatched\".");
}

TEST(Message, EqualityComparesContextsByText) {
    const std::string context = "Files"; // another address than the literal's
    EXPECT_EQ(Message(context.c_str(), "x %1", {std::string("a")}),
              Message("Files", "x %1", {std::string("a")}));
    EXPECT_NE(Message("Files", "x %1", {std::string("a")}), Message("Files", "x %1", {std::string("b")}));
    EXPECT_NE(Message("Files", "x"), Message(std::string("x"))) << "a verbatim text is not a marked one";
    EXPECT_NE(Message("Files", "x"), Message("Registry", "x"));
}

TEST(Result, HoldsAValueOrAFailureNeverBoth) {
    const Result<int> value = 7;
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(*value, 7);
    EXPECT_EQ(value.valueOr(3), 7);
    const Result<int> failed = failure(Message("C", "no"));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().english(), "no");
    EXPECT_EQ(failed.valueOr(3), 3);
    EXPECT_THROW(static_cast<void>(failed.value()), std::bad_variant_access);
}

TEST(Result, AMessageAsTheValueIsNotTakenForAFailure) {
    const Result<Message> value = Message("C", "fine");
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value->english(), "fine");
    const Result<Message> failed = failure(Message("C", "broken"));
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().english(), "broken");
}

TEST(Result, VoidResultsAndOtherFailureTypes) {
    const Result<void> done;
    EXPECT_TRUE(done.ok());
    const Result<void> refused = failure(std::string("system words"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().english(), "system words");
    EXPECT_EQ(refused.error().context(), nullptr) << "a reason given as plain text stays verbatim";
    const Result<int, int> coded = failure(5);
    ASSERT_FALSE(coded);
    EXPECT_EQ(coded.error(), 5);
}

TEST(Result, MoveOnlyValuesComeOut) {
    Result<std::unique_ptr<int>> held = std::make_unique<int>(4);
    ASSERT_TRUE(held);
    const std::unique_ptr<int> taken = std::move(held).value();
    EXPECT_EQ(*taken, 4);
}

TEST(ReadWholeFile, TellsReadMissingAndUnreadableApart) {
    test::TempDir dir;
    const std::string path = dir.file("data");
    const auto missing = readWholeFile(path, 100);
    ASSERT_TRUE(missing.ok());
    EXPECT_FALSE(missing->has_value());

    std::ofstream(path) << "";
    const auto empty = readWholeFile(path, 100);
    ASSERT_TRUE(empty.ok());
    ASSERT_TRUE(empty->has_value()) << "an empty file is there";
    EXPECT_EQ(**empty, "");

    std::ofstream(path) << "twelve bytes";
    const auto read = readWholeFile(path, 100);
    ASSERT_TRUE(read && *read);
    EXPECT_EQ(**read, "twelve bytes");
    EXPECT_EQ(told(readWholeFile(path, 11)), "Cannot read \"" + path + "\": File too large");
    EXPECT_EQ(told(readWholeFile(dir.path(), 100)), "Cannot read \"" + dir.path() + "\": Is a directory");
}

TEST(DescribeFileError, NamesThePathAndTheSystemReason) {
    const Message error = describeFileError(kFileCannotWrite, "/a/100%1", ENOSPC);
    EXPECT_EQ(error.context(), std::string("Files"));
    EXPECT_EQ(error.english(), "Cannot write \"/a/100%1\": No space left on device");
}

} // namespace
} // namespace velloran
