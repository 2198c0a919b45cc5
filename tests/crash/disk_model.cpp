#include "disk_model.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velloran::crash {
namespace {

namespace fs = std::filesystem;

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Every folder above the path is in the tree: a file or folder made in a folder that was lost is lost.
bool reachable(const std::string& path, const std::set<std::string>& folders) {
    for (std::string folder = parentOf(path); !folder.empty(); folder = parentOf(folder))
        if (folders.count(folder) == 0)
            return false;
    return true;
}

struct Live {
    std::set<std::string> folders;
    std::map<std::string, int> entries;
    std::map<int, std::string> data;
};

} // namespace

FolderTree FolderTree::readFrom(const std::string& root) {
    FolderTree tree;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        // Lexically: relative() would follow a link to its target's name.
        const std::string path = item.path().lexically_relative(root).string();
        if (item.is_symlink()) {
            tree.links[path] = fs::read_symlink(item.path()).string();
        } else if (item.is_directory()) {
            tree.folders.insert(path);
        } else {
            std::ifstream in(item.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            tree.files[path] = bytes.str();
        }
    }
    return tree;
}

void FolderTree::writeTo(const std::string& root) const {
    for (const auto& item : fs::directory_iterator(root))
        fs::remove_all(item.path());
    for (const std::string& folder : folders) // in order: a folder comes before what it holds
        fs::create_directory(root + "/" + folder);
    for (const auto& [path, bytes] : files) {
        std::ofstream out(root + "/" + path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    for (const auto& [path, target] : links)
        fs::create_symlink(target, root + "/" + path);
}

std::string FolderTree::key() const {
    std::string key;
    for (const std::string& folder : folders)
        key += "d " + folder + '\n';
    for (const auto& [path, bytes] : files)
        key += "f " + path + ' ' + std::to_string(bytes.size()) + '\n' + bytes;
    for (const auto& [path, target] : links)
        key += "l " + path + ' ' + target + '\n';
    return key;
}

DiskModel::DiskModel(std::string root, FolderTree start, std::vector<DiskStep> steps)
    : root_(std::move(root)), start_(std::move(start)) {
    Live live;
    live.folders = start_.folders;
    for (const auto& [path, bytes] : start_.files) {
        startInodes_[path] = inodeCount_;
        live.entries[path] = inodeCount_++;
    }
    const auto inodeOf = [&](const std::string& path) {
        const auto found = live.entries.find(path);
        if (found == live.entries.end())
            throw std::logic_error("a step on a file the model does not hold: " + path);
        return found->second;
    };
    for (DiskStep& step : steps) {
        Annotated note;
        const std::string path = relative(step.path);
        const std::string target = step.target.empty() ? std::string() : relative(step.target);
        switch (step.kind) {
        case DiskStep::Kind::Create:
            note.inode = inodeCount_++;
            live.entries[path] = note.inode;
            note.entry = true;
            note.folder = parentOf(path);
            break;
        case DiskStep::Kind::Write:
            note.inode = inodeOf(path);
            note.data = true;
            break;
        case DiskStep::Kind::Fsync:
        case DiskStep::Kind::Fdatasync:
            note.inode = inodeOf(path);
            break;
        case DiskStep::Kind::Rename:
        case DiskStep::Kind::Link:
            if (parentOf(path) != parentOf(target))
                throw std::logic_error("a rename or link between folders: the model keeps them apart");
            note.inode = inodeOf(path);
            live.entries[target] = note.inode;
            if (step.kind == DiskStep::Kind::Rename)
                live.entries.erase(path);
            note.entry = true;
            note.folder = parentOf(target);
            break;
        case DiskStep::Kind::Unlink:
            live.entries.erase(path);
            note.entry = true;
            note.folder = parentOf(path);
            break;
        case DiskStep::Kind::Mkdir:
            live.folders.insert(path);
            note.entry = true;
            note.folder = parentOf(path);
            break;
        case DiskStep::Kind::SyncFolder:
            note.folder = path;
            break;
        }
        note.step = std::move(step);
        steps_.push_back(std::move(note));
    }
}

std::string DiskModel::relative(const std::string& path) const {
    if (path == root_)
        return {};
    if (path.compare(0, root_.size() + 1, root_ + "/") != 0)
        throw std::logic_error("a step outside the scenario's folder: " + path);
    // A path through a link's target ("prog/../sync/tasks.tsk"); the scenarios link no folders.
    std::string inside = fs::path(path.substr(root_.size() + 1)).lexically_normal().string();
    while (!inside.empty() && inside.back() == '/')
        inside.pop_back();
    return inside;
}

FolderTree DiskModel::build(std::size_t prefix, const Choice* choice) const {
    // Walking back from the crash: a step is durable when its folder or file was flushed after it.
    std::vector<bool> durable(prefix, true);
    if (choice != nullptr) {
        std::set<std::string> flushedFolders;
        std::set<int> flushedFiles;
        for (std::size_t i = prefix; i-- > 0;) {
            const Annotated& note = steps_[i];
            if (note.step.kind == DiskStep::Kind::SyncFolder)
                flushedFolders.insert(note.folder);
            if (note.step.kind == DiskStep::Kind::Fsync || note.step.kind == DiskStep::Kind::Fdatasync)
                flushedFiles.insert(note.inode);
            if (note.entry)
                durable[i] = flushedFolders.count(note.folder) != 0;
            if (note.data)
                durable[i] = flushedFiles.count(note.inode) != 0;
        }
    }
    Live live;
    live.folders = start_.folders;
    for (const auto& [path, bytes] : start_.files) {
        live.entries[path] = startInodes_.at(path);
        live.data[startInodes_.at(path)] = bytes;
    }
    std::map<std::string, std::size_t> folderSeen;
    std::map<int, std::size_t> fileSeen;
    for (std::size_t i = 0; i < prefix; ++i) {
        const Annotated& note = steps_[i];
        bool kept = true;
        bool torn = false;
        if (!durable[i] && note.entry) {
            kept = folderSeen[note.folder]++ < choice->folderKept.at(note.folder);
        } else if (!durable[i] && note.data) {
            const std::size_t position = fileSeen[note.inode]++;
            const std::size_t keptCount = choice->fileKept.at(note.inode);
            kept = position < keptCount;
            torn = position == keptCount && choice->fileTorn.at(note.inode);
        }
        const std::string path = note.step.path.empty() ? std::string() : relative(note.step.path);
        const std::string target = note.step.target.empty() ? std::string() : relative(note.step.target);
        if (torn) {
            live.data[note.inode] += note.step.data.substr(0, note.step.data.size() / 2);
            continue;
        }
        if (!kept)
            continue;
        switch (note.step.kind) {
        case DiskStep::Kind::Create:
            live.entries[path] = note.inode;
            live.data[note.inode];
            break;
        case DiskStep::Kind::Write:
            live.data[note.inode] += note.step.data;
            break;
        case DiskStep::Kind::Rename:
        case DiskStep::Kind::Link:
            if (live.entries.count(path) == 0)
                break;
            live.entries[target] = live.entries[path];
            if (note.step.kind == DiskStep::Kind::Rename)
                live.entries.erase(path);
            break;
        case DiskStep::Kind::Unlink:
            live.entries.erase(path);
            break;
        case DiskStep::Kind::Mkdir:
            live.folders.insert(path);
            break;
        default:
            break;
        }
    }
    FolderTree tree;
    tree.links = start_.links;
    for (const std::string& folder : live.folders)
        if (reachable(folder, live.folders))
            tree.folders.insert(folder);
    for (const auto& [path, inode] : live.entries)
        if (reachable(path, tree.folders))
            tree.files[path] = live.data[inode];
    // A file renamed over a link replaced it.
    std::erase_if(tree.links, [&](const auto& link) { return tree.files.count(link.first) != 0; });
    return tree;
}

FolderTree DiskModel::crashState(std::size_t prefix) const {
    return build(prefix, nullptr);
}

std::size_t DiskModel::powerCutStates(std::size_t prefix, std::size_t limit,
                                      const std::function<void(const FolderTree&)>& visit) const {
    // The steps a power cut may lose, by folder and by file, in order.
    std::set<std::string> flushedFolders;
    std::set<int> flushedFiles;
    std::map<std::string, std::size_t> folderFlight;
    std::map<int, std::vector<std::size_t>> fileFlight; // each in-flight write's size
    for (std::size_t i = prefix; i-- > 0;) {
        const Annotated& note = steps_[i];
        if (note.step.kind == DiskStep::Kind::SyncFolder)
            flushedFolders.insert(note.folder);
        if (note.step.kind == DiskStep::Kind::Fsync || note.step.kind == DiskStep::Kind::Fdatasync)
            flushedFiles.insert(note.inode);
        if (note.entry && flushedFolders.count(note.folder) == 0)
            ++folderFlight[note.folder];
        if (note.data && flushedFiles.count(note.inode) == 0)
            fileFlight[note.inode].insert(fileFlight[note.inode].begin(), note.step.data.size());
    }
    // One dimension per folder and per file; each option is one way that part may have come through.
    struct Option {
        std::size_t kept;
        bool torn;
    };
    std::vector<std::vector<Option>> dimensions;
    std::vector<std::string> folderNames;
    std::vector<int> fileInodes;
    for (const auto& [folder, count] : folderFlight) {
        std::vector<Option> options;
        for (std::size_t kept = 0; kept <= count; ++kept)
            options.push_back({kept, false});
        dimensions.push_back(options);
        folderNames.push_back(folder);
    }
    for (const auto& [inode, sizes] : fileFlight) {
        std::vector<Option> options;
        for (std::size_t kept = 0; kept <= sizes.size(); ++kept) {
            if (kept < sizes.size() && sizes[kept] >= 2)
                options.push_back({kept, true});
            options.push_back({kept, false});
        }
        dimensions.push_back(options);
        fileInodes.push_back(inode);
    }
    std::size_t total = 1;
    for (const auto& options : dimensions)
        total = std::min<std::size_t>(total * options.size(), std::size_t{1} << 40);

    const auto visitChoice = [&](const std::vector<std::size_t>& picks) {
        Choice choice;
        for (std::size_t d = 0; d < dimensions.size(); ++d) {
            const Option option = dimensions[d][picks[d]];
            if (d < folderNames.size()) {
                choice.folderKept[folderNames[d]] = option.kept;
            } else {
                const int inode = fileInodes[d - folderNames.size()];
                choice.fileKept[inode] = option.kept;
                choice.fileTorn[inode] = option.torn;
            }
        }
        visit(build(prefix, &choice));
    };
    std::vector<std::size_t> picks(dimensions.size(), 0);
    if (total <= limit) {
        for (std::size_t n = 0; n < total; ++n) {
            std::size_t rest = n;
            for (std::size_t d = 0; d < dimensions.size(); ++d) {
                picks[d] = rest % dimensions[d].size();
                rest /= dimensions[d].size();
            }
            visitChoice(picks);
        }
        return total;
    }
    // Too many: everything kept, everything lost, each part alone in each of its ways against both,
    // then a fixed pseudo-random sample.
    std::size_t visited = 0;
    for (const bool othersKept : {true, false}) {
        for (std::size_t d = 0; d < dimensions.size(); ++d) {
            for (std::size_t o = 0; o < dimensions[d].size(); ++o) {
                for (std::size_t e = 0; e < dimensions.size(); ++e)
                    picks[e] = othersKept ? dimensions[e].size() - 1 : 0;
                picks[d] = o;
                visitChoice(picks);
                ++visited;
            }
        }
    }
    std::uint64_t seed = 0x2545f4914f6cdd1du + prefix;
    for (; visited < limit; ++visited) {
        for (std::size_t d = 0; d < dimensions.size(); ++d) {
            seed ^= seed << 13;
            seed ^= seed >> 7;
            seed ^= seed << 17;
            picks[d] = seed % dimensions[d].size();
        }
        visitChoice(picks);
    }
    return total;
}

} // namespace velloran::crash
