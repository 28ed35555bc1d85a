#pragma once
#include <string>
#include <string_view>
#include <vector>

// File operations whose details differ between platforms (permissions, flushing,
// replacing a file in one step). Paths are byte strings as the system takes them.
namespace platform {

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool CreateDirectory(const std::string& path);

// Gives a file a new name in the same file system, replacing whatever had that
// name. On failure the system's reason goes to `failureReason` when given.
bool RenameFile(const std::string& from, const std::string& to,
                std::string* failureReason = nullptr);

// Reads the whole file; false (and `contents` empty) when it cannot be opened or
// read, or is no plain file. One string may take file after file: its room is reused.
bool ReadWholeFile(const std::string& path, std::string& contents);

// The names of the plain files in a folder, in no particular order; empty when
// the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& folder);

// Moves a file over another in one step: a reader sees the old file or the new.
bool ReplaceFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
// Only an empty folder is removed.
bool RemoveFolder(const std::string& path);

// Joins a folder and a file name with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

enum class FileAccess { Everyone, OwnerOnly };

// Whether Commit waits until the new contents are on the disk. Without the flush
// a replaced file still survives the program's crash whole (the rename is
// atomic), but not necessarily a power cut.
enum class FileSync { Flush, NoFlush };

// Replaces a file so that readers only ever see the old or the new file whole: the
// new contents go to a temporary file in the same folder, which Commit flushes to
// disk and renames over the target. Until Commit succeeds the target is untouched;
// a writer destroyed without a successful Commit removes its temporary file. The
// temporary file of a writer killed mid-write stays, but only until the next write
// of the same target, which removes it.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file for `path`; false when the folder does not allow it.
    bool Open(const std::string& path, FileAccess access = FileAccess::Everyone,
              FileSync sync = FileSync::Flush);
    bool Write(std::string_view data);
    bool Commit();
    // The system's error number of the step that failed; 0 while none has.
    int ErrorNumber() const { return m_error; }

private:
    bool Fail();
    void Discard();

    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
    bool m_failed = false;
    int m_error = 0;
    FileSync m_sync = FileSync::Flush;
};

// `path` replaced by `contents` through an AtomicFileWriter. On failure the
// writer's error number goes to `errorNumber` when given.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         FileAccess access = FileAccess::Everyone, FileSync sync = FileSync::Flush,
                         int* errorNumber = nullptr);

}  // namespace platform
