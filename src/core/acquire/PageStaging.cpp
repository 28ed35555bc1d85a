#include "acquire/PageStaging.h"

#include "platform/Files.h"

namespace {

// Written last into the staging folder: the staged pages are a whole set.
constexpr char kMarkerName[] = "complete";

bool IsPage(const std::string& name) {
    constexpr std::string_view kSuffix = ".html";
    return name.size() > kSuffix.size() &&
           name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

}  // namespace

PageStaging::PageStaging(std::string savedFolder)
    : m_saved(std::move(savedFolder)), m_folder(m_saved + ".staging") {}

std::string PageStaging::MarkerPath() const {
    return platform::JoinPath(m_folder, kMarkerName);
}

std::string PageStaging::StagedPath(const std::string& name) const {
    return platform::JoinPath(m_folder, name);
}

std::string PageStaging::PageToRead(const std::string& name) const {
    const std::string staged = StagedPath(name);
    return platform::PathExists(staged) ? staged : platform::JoinPath(m_saved, name);
}

bool PageStaging::Recover() const {
    if (!platform::IsDirectory(m_folder)) return true;
    if (IsMarked()) return MoveStagedPages();
    Discard();
    return !platform::PathExists(m_folder);
}

bool PageStaging::Begin() const {
    return Recover() && platform::CreateDirectory(m_folder);
}

bool PageStaging::Commit() const {
    // The marker must reach the disk before any saved page is replaced.
    return platform::WriteFileAtomically(MarkerPath(), "") && MoveStagedPages();
}

bool PageStaging::MoveStagedPages() const {
    if (!platform::IsDirectory(m_saved)) platform::CreateDirectory(m_saved);
    bool moved = true;
    for (const std::string& name : platform::ListFiles(m_folder))
        if (IsPage(name))
            moved =
                platform::ReplaceFile(StagedPath(name), platform::JoinPath(m_saved, name)) && moved;
    // The marker goes only once every page is across, so a failed move is
    // finished by the next Recover.
    if (!moved) return false;
    Discard();
    return true;
}

void PageStaging::Discard() const {
    for (const std::string& name : platform::ListFiles(m_folder))
        platform::RemoveFile(StagedPath(name));
    platform::RemoveFolder(m_folder);
}

bool PageStaging::IsMarked() const {
    return platform::PathExists(MarkerPath());
}
