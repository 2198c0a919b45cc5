#include "task_file_place.h"

#include "files/atomic_file.h"
#include "files/file_identity.h"
#include "files/file_io.h"
#include "task_file.h"

#include <cstddef>
#include <initializer_list>

namespace velloran {
namespace {

constexpr std::size_t kMaxTaskFileSize = std::size_t{256} << 20; // about 69 000 tasks

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    return folder;
}

bool present(const std::string& path) {
    return stampOfPath(path).present;
}

Message notice(const char* source, std::initializer_list<Message> arguments = {}) {
    return Message("TaskStore", source, arguments);
}

// The program directory's own file, shown and run as it is, and the user told why changes are not kept.
TaskFilePlace cannotCopy(const std::string& source, const std::string& dataFolder, const Message& why) {
    const Message consequence =
        present(source)
            ? notice(QT_TRANSLATE_NOOP("TaskStore", "The tasks of \"%1\" are shown, but changes to "
                                                    "them cannot be saved. Velloran tries again at "
                                                    "the next start."),
                     {source})
            : notice(QT_TRANSLATE_NOOP("TaskStore", "Tasks you create cannot be saved. Velloran "
                                                    "tries again at the next start."));
    return {source,
            {notice(QT_TRANSLATE_NOOP("TaskStore", "Velloran may not write to its program folder, and "
                                                   "your tasks could not be kept in \"%1\":\n%2\n%3"),
                    {dataFolder, why, consequence})}};
}

} // namespace

TaskFilePlace placeTaskFile(const std::string& programDirectory, bool programDirectoryWritable,
                            const std::string& dataFolder, Disk& disk) {
    const std::string source = withSlash(programDirectory) + kTaskFileName;
    if (programDirectoryWritable)
        return {source, {}};
    const std::string folder = withSlash(dataFolder);
    const std::string copy = folder + kTaskFileName;
    const std::string mark = folder + kFirstCopyMark;
    // The copy takes its name only when it is whole (a rename), so a tasks.tsk there is never a torn one;
    // the mark follows it. A tasks.tsk without the mark is a copy whose mark was lost, or the data folder
    // of a release before the mark: the user's own either way.
    if (isFolder(folder) && (present(copy) || present(mark))) {
        if (!present(mark))
            static_cast<void>(writeFileAtomically(mark, {}, 0600, disk));
        return {copy, {}};
    }
    if (Result<void> made = makeFolders(folder, 0700, disk); !made)
        return cannotCopy(source, folder, made.error());
    const Result<std::optional<std::string>> content = readWholeFile(source, kMaxTaskFileSize);
    if (!content)
        return cannotCopy(source, folder, content.error());
    if (*content) {
        if (Result<void> copied = writeFileAtomically(copy, **content, 0600, disk); !copied)
            return cannotCopy(source, folder, copied.error());
    }
    // Without the mark the copy is still there and the next start marks it; nothing to tell.
    static_cast<void>(writeFileAtomically(mark, {}, 0600, disk));
    return {copy, {}};
}

} // namespace velloran
