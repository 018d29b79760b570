#pragma once
#include "base/kiv_string.h"
#include "base/stream/kiv_std_file_stream.h"

// Writes a file so that a crash or a failure half-way never leaves it truncated: the bytes
// go to "<name>.tmp" in the same folder, and only a completely written file replaces the
// old one, in one rename. Until Commit the old file stays as it was.
//
//     KivAtomicFileWriter writer(fileName);
//     document.Save(writer.GetStream(), "utf-8");
//     writer.Commit();
class KivAtomicFileWriter {
public:
    // Creates the file's folder when it is missing and opens the temporary file.
    explicit KivAtomicFileWriter(const KivString& fileName);
    // Without Commit the temporary file is removed and the old file is kept.
    ~KivAtomicFileWriter();
    KivAtomicFileWriter(const KivAtomicFileWriter&) = delete;
    KivAtomicFileWriter& operator=(const KivAtomicFileWriter&) = delete;

    KivStream& GetStream() { return temporary_; }
    // Closes the temporary file, has it flushed to the disk, checks that every byte reached
    // it (a full disk shows only when the last buffer is written) and puts it in place of
    // the file.
    void Commit();

    static KivString TemporaryNameFor(const KivString& fileName);

private:
    KivString fileName_;
    KivString temporaryName_;
    KivStdFileStream temporary_;
    bool committed_ = false;
};
