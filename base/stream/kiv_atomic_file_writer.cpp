#include "base/stream/kiv_atomic_file_writer.h"

#include <cstdint>

#include "base/kiv_exception.h"
#include "platform/kiv_file_system.h"

namespace {

KivString FolderOf(const KivString& fileName) {
    int32_t separator = -1;
    for (int32_t index = 0; index < fileName.Length(); ++index)
        if (fileName[index] == u'/' || fileName[index] == u'\\') separator = index;
    return separator > 0 ? fileName.Substring(0, separator) : KivString();
}

void PrepareFolder(const KivString& fileName) {
    const KivString folder = FolderOf(fileName);
    if (!folder.IsEmpty()) KivPlatform::CreateDirectories(folder.ToU16());
}

}  // namespace

KivString KivAtomicFileWriter::TemporaryNameFor(const KivString& fileName) { return fileName + KivString(".tmp"); }

KivAtomicFileWriter::KivAtomicFileWriter(const KivString& fileName)
    : fileName_(fileName), temporaryName_(TemporaryNameFor(fileName)) {
    PrepareFolder(fileName_);
    temporary_.Open(temporaryName_, KivStdFileStream::kWrite | KivStdFileStream::kCreate);
}

KivAtomicFileWriter::~KivAtomicFileWriter() {
    if (committed_) return;
    try {
        temporary_.Close();
    } catch (const KivException&) {
        // The bytes that could not be written belong to the file being thrown away.
    }
    KivPlatform::RemoveFile(temporaryName_.ToU16());
}

void KivAtomicFileWriter::Commit() {
    temporary_.Flush();
    const int64_t written = temporary_.GetPosition();
    temporary_.Close();
    // Best effort: where the system cannot flush, the rename below is still atomic.
    KivPlatform::FlushFileToDisk(temporaryName_.ToU16());
    if (KivPlatform::FileSize(temporaryName_.ToU16()) != written) {
        KivException::Raise(KivException::kInputOutput, "Error writing to file \"{0}\". Probably disk full.",
                            fileName_);
    }
    if (!KivPlatform::RenameReplacing(temporaryName_.ToU16(), fileName_.ToU16())) {
        KivException::Raise(KivException::kCannotOpen,
                            "File \"{0}\" could not be replaced. Make sure it is not write-protected.", fileName_);
    }
    committed_ = true;
}
