// What a scenario's folder holds after the first N recorded steps, when the program crashed there (every
// step taken reached the file system) or when the power failed there (steps not yet made durable may be
// lost). The file system kept in mind is ext4 with data=ordered, as the ALICE study models it:
//  - a file's writes since its last fsync or fdatasync may be lost, the later ones first: the file keeps
//    a prefix of them, possibly with the next write torn part way;
//  - the entries of a folder (files created, renamed, linked or removed in it, folders made in it) since
//    its last fsync may be lost, also the later ones first: the journal commits them in order;
//  - folders may lie on different file systems, so nothing orders the steps of two folders or the data of
//    a file against any folder's entries.
#pragma once

#include "recording_disk.h"

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velloran::crash {

// A folder tree in memory, with paths relative to the scenario's folder.
// Symbolic links are the scenario's own: the program writes through them and never makes or removes one.
struct FolderTree {
    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> links; // each link's target, as it reads

    static FolderTree readFrom(const std::string& root);
    // Replaces everything under root (which must exist) with this tree.
    void writeTo(const std::string& root) const;
    // The same text for the same tree, to tell states apart.
    std::string key() const;
    friend bool operator==(const FolderTree&, const FolderTree&) = default;
};

class DiskModel {
public:
    // root is the folder the steps' paths lie in; start is what it held before the first step.
    DiskModel(std::string root, FolderTree start, std::vector<DiskStep> steps);

    std::size_t stepCount() const { return steps_.size(); }
    // The folder after a crash before step `prefix`: every step before it taken.
    FolderTree crashState(std::size_t prefix) const;
    // Every state a power cut before step `prefix` may leave, the crash state among them; more than
    // `limit` combinations are cut down to the extremes, each loss on its own, and a fixed sample.
    // Returns how many combinations there were in all.
    std::size_t powerCutStates(std::size_t prefix, std::size_t limit,
                               const std::function<void(const FolderTree&)>& visit) const;

private:
    struct Annotated {
        DiskStep step;
        int inode = -1;     // Create, Write, Fsync, Fdatasync, Link: the file's
        std::string folder; // entry steps: the folder whose entries change; SyncFolder: the folder
        bool entry = false; // changes a folder's entries
        bool data = false;  // changes a file's bytes
    };
    // Which of the in-flight steps are kept: for each folder and each file, how many of its in-flight
    // steps survive, and for a file whether the next one is kept torn.
    struct Choice {
        std::map<std::string, std::size_t> folderKept;
        std::map<int, std::size_t> fileKept;
        std::map<int, bool> fileTorn;
    };
    FolderTree build(std::size_t prefix, const Choice* choice) const;
    std::string relative(const std::string& path) const;

    std::string root_;
    FolderTree start_;
    std::map<std::string, int> startInodes_;
    int inodeCount_ = 0;
    std::vector<Annotated> steps_;
};

} // namespace velloran::crash
