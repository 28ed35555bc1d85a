#pragma once
#include <string>

// The saved pages of one download change together. A download writes the pages it
// fetches into a staging folder beside the saved ones ("DownloadFiles.staging");
// only a download that ends with OK moves them over the saved pages. The move is
// made safe against a crash by a marker written first: a staging folder with the
// marker is a whole new set that the next start finishes moving; one without it is
// an unfinished download whose pages are thrown away. So the saved pages are
// always the old set or the new one, never a mix.
class PageStaging {
public:
    explicit PageStaging(std::string savedFolder);

    const std::string& Folder() const { return m_folder; }

    // Finishes a move cut short, or throws away the pages of a download that never
    // ended. False when something could not be moved or removed.
    bool Recover() const;
    // Recover, then an empty staging folder for a new download.
    bool Begin() const;
    // Where a download writes the page of this name.
    std::string StagedPath(const std::string& name) const;
    // The copy of a page to read while the staging folder is in use: the staged
    // one when the download fetched it, else the saved one.
    std::string PageToRead(const std::string& name) const;
    // Marks the staged set whole, then moves it over the saved pages. A crash
    // after the mark leaves the move to the next Recover.
    bool Commit() const;
    // Throws the staged pages away; the saved pages stay as they were.
    void Discard() const;
    // Whether a whole new set waits to be moved: then its pages are the ones to read,
    // also for a reader that may not write.
    bool IsMarked() const;

private:
    std::string MarkerPath() const;
    bool MoveStagedPages() const;

    std::string m_saved;
    std::string m_folder;
};
