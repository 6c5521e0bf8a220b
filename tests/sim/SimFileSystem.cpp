#include "tests/sim/SimFileSystem.h"

#include <algorithm>

#include "platform/Platform.h"
#include "platform/TextMatch.h"

namespace quillon::sim {
namespace {

std::string Parent(const std::string& normalised) {
    const auto slash = normalised.rfind('\\');
    return slash == std::string::npos ? std::string() : normalised.substr(0, slash);
}

}  // namespace

SimFileSystem::SimFileSystem() { addDirectory("C:"); }

std::string SimFileSystem::Normalised(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    while (p.size() > 2 && p.back() == '\\') p.pop_back();
    if (p.size() >= 2 && p[1] == ':') p[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    return p;
}

std::string SimFileSystem::resolved(const std::string& path, bool followLast) const {
    const std::string n = Normalised(path);
    if (!anyLinks_) return n;
    std::string done;
    int hops = 0;
    for (std::size_t from = 0; from <= n.size();) {
        std::size_t slash = n.find('\\', from);
        if (slash == std::string::npos) slash = n.size();
        done += (done.empty() ? "" : "\\") + n.substr(from, slash - from);
        from = slash + 1;
        const bool last = slash == n.size();
        if (last && !followLast) break;
        auto it = entries_.find(Lower(done));
        if (it != entries_.end() && !it->second.linkTarget.empty()) {
            if (++hops > 32) throw PlatformError("too many links: " + path);
            done = it->second.linkTarget;
        }
    }
    return done;
}

const SimFileSystem::Entry* SimFileSystem::find(const std::string& path) const {
    auto it = entries_.find(Lower(resolved(path, false)));
    return it == entries_.end() ? nullptr : &it->second;
}

SimFileSystem::Entry* SimFileSystem::find(const std::string& path) {
    auto it = entries_.find(Lower(resolved(path, false)));
    return it == entries_.end() ? nullptr : &it->second;
}

void SimFileSystem::addDirectory(const std::string& path) {
    const std::string n = Normalised(path);
    if (n.empty()) return;
    if (!Parent(n).empty()) addDirectory(Parent(n));
    entries_.try_emplace(Lower(n), Entry{n, true, {}, false, {}, {}, true, {}, 0});
}

void SimFileSystem::addLink(const std::string& path, const std::string& target) {
    const std::string n = Normalised(path);
    addDirectory(Parent(n));
    entries_[Lower(n)] = Entry{n, true, {}, false, {}, Normalised(target), true, {}, 0};
    anyLinks_ = true;
}

bool SimFileSystem::isLink(const std::string& path) const {
    const Entry* e = find(path);
    return e && !e->linkTarget.empty();
}

void SimFileSystem::addFile(const std::string& path, const std::string& content, FileFlags flags) {
    const std::string n = Normalised(path);
    addDirectory(Parent(n));
    entries_[Lower(n)] = Entry{n, false, flags, false, content, {}, true, content, content.size()};
}

void SimFileSystem::setFlags(const std::string& path, FileFlags flags) {
    if (Entry* e = find(path)) e->flags = flags;
}

void SimFileSystem::setReadOnlyFolder(const std::string& path, bool readOnly) {
    addDirectory(path);
    find(path)->readOnlyFolder = readOnly;
}

bool SimFileSystem::fileExists(const std::string& path) const {
    const Entry* e = find(path);
    return e && !e->directory;
}

bool SimFileSystem::visibleFileExists(const std::string& path) const {
    const Entry* e = find(path);
    return e && !e->directory && !e->flags.hidden && !e->flags.system;
}

bool SimFileSystem::directoryExists(const std::string& path) const {
    const Entry* e = find(path);
    return e && e->directory;
}

std::optional<std::string> SimFileSystem::content(const std::string& path) const {
    const Entry* e = find(path);
    if (!e || e->directory) return std::nullopt;
    return e->content;
}

std::vector<std::string> SimFileSystem::children(const std::string& folder) const {
    std::vector<std::string> names;
    const std::string prefix = Lower(resolved(folder, true)) + "\\";
    for (const auto& [lower, e] : entries_)
        if (lower.rfind(prefix, 0) == 0 && lower.find('\\', prefix.size()) == std::string::npos)
            names.push_back(e.path.substr(prefix.size()));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    return names;
}

std::vector<std::string> SimFileSystem::visibleFiles(const std::string& folder) const {
    std::vector<std::string> names;
    for (const std::string& name : children(folder))
        if (visibleFileExists(Normalised(folder) + "\\" + name)) names.push_back(name);
    return names;
}

void SimFileSystem::requireWritableParent(const std::string& path) const {
    const Entry* parent = find(Parent(resolved(path, false)));
    if (!parent || !parent->directory) throw PlatformError("path not found: " + path);
    if (parent->readOnlyFolder) throw PlatformError("access denied: " + path);
}

void SimFileSystem::writeFile(const std::string& path, const std::string& content) {
    Entry* existing = find(path);
    if (existing) {
        if (existing->directory || existing->flags.readOnly || existing->flags.locked || existing->flags.hidden)
            throw PlatformError("access denied: " + path);
        existing->content = content;
        return;
    }
    requireWritableParent(path);
    const std::string n = resolved(path, false);
    entries_[Lower(n)] = Entry{n, false, {}, false, content, {}, false, {}, 0};
}

void SimFileSystem::deleteFile(const std::string& path) {
    Entry* e = find(path);
    if (!e || e->directory) throw PlatformError("file not found: " + path);
    if (e->flags.readOnly || e->flags.locked) throw PlatformError("access denied: " + path);
    requireWritableParent(path);
    entries_.erase(Lower(resolved(path, false)));
}

void SimFileSystem::removeEmptyDirectory(const std::string& path) {
    Entry* e = find(path);
    if (!e || !e->directory) throw PlatformError("directory not found: " + path);
    // A link goes as itself, whatever its target holds.
    if (e->linkTarget.empty() && !children(path).empty()) throw PlatformError("directory not empty: " + path);
    requireWritableParent(path);
    entries_.erase(Lower(resolved(path, false)));
}

void SimFileSystem::makeDirectory(const std::string& path) {
    if (find(path)) throw PlatformError("already exists: " + path);
    requireWritableParent(path);
    const std::string n = resolved(path, false);
    entries_[Lower(n)] = Entry{n, true, {}, false, {}, {}, false, {}, 0};
}

void SimFileSystem::moveReplacing(const std::string& from, const std::string& to) {
    Entry* source = find(from);
    if (!source || source->directory) throw PlatformError("file not found: " + from);
    if (const Entry* target = find(to); target && (target->directory || target->flags.readOnly || target->flags.locked))
        throw PlatformError("access denied: " + to);
    requireWritableParent(to);
    Entry moved = *source;
    entries_.erase(Lower(resolved(from, false)));
    moved.path = resolved(to, false);
    moved.onDisk = false;
    entries_[Lower(moved.path)] = moved;
}

void SimFileSystem::flush(const std::string& path) {
    Entry* e = find(path);
    if (!e) throw PlatformError("file not found: " + path);
    e->contentOnDisk = e->content;
    for (auto& [lower, entry] : entries_) {
        entry.onDisk = true;
        entry.sizeOnDisk = entry.content.size();
    }
}

void SimFileSystem::loseUnflushed() {
    std::erase_if(entries_, [](const auto& entry) { return !entry.second.onDisk; });
    for (auto& [lower, e] : entries_) {
        e.content = e.contentOnDisk.substr(0, e.sizeOnDisk);
        e.content.resize(e.sizeOnDisk, '\0');
        e.contentOnDisk = e.content;
    }
}

std::vector<std::string> SimFileSystem::allPaths() const {
    std::vector<std::string> paths;
    for (const auto& [lower, e] : entries_) paths.push_back(e.path);
    return paths;
}

}  // namespace quillon::sim
