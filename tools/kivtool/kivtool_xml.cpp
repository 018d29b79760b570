// kivtool xml: reads a document and writes it back in the framework's own dialect, which
// shows exactly what the framework understood of a file (or why it refused it).
#include <cstdio>
#include <memory>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_console_stream.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "tools/kivtool/kivtool_commands.h"

namespace {

int XmlUsage() {
    std::fprintf(stderr, "usage: kivtool xml [FILE]\n");
    return 2;
}

void RewriteDocument(const std::string& fileName) {
    KivConsoleStream console;
    std::unique_ptr<KivStdFileStream> file;
    KivStream* input = &console;
    if (!fileName.empty()) {
        file = std::make_unique<KivStdFileStream>(KivString::FromUTF8(fileName), KivStdFileStream::kRead);
        input = file.get();
    }
    KivXMLItem document;
    document.Load(*input);
    document.Save(console, "utf-8");
    console.Flush();
}

}  // namespace

int RunXmlCommand(const KivToolArguments& arguments) {
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments[0].rfind("--", 0) == 0)) return XmlUsage();
    try {
        RewriteDocument(arguments.empty() ? std::string() : arguments[0]);
        return 0;
    } catch (const KivException& exception) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", exception.GetMessage().ToUTF8().c_str());
        return 1;
    }
}
