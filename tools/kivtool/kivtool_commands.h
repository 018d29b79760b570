#pragma once
#include <string>
#include <vector>

// One sub-command of kivtool: its arguments after the command word; returns the exit code.
// Each command reads a file named as the last free argument, or standard input, and writes
// standard output; framework failures print the framework's message and exit 1.
using KivToolArguments = std::vector<std::string>;

int RunXmlCommand(const KivToolArguments& arguments);       // xml FILE
int RunHexCommand(const KivToolArguments& arguments);       // hex encode|decode
int RunDeflateCommand(const KivToolArguments& arguments);   // deflate [--quality N]
int RunInflateCommand(const KivToolArguments& arguments);   // inflate
int RunMD5Command(const KivToolArguments& arguments);       // md5 [--seed N]
int RunRIPEMDCommand(const KivToolArguments& arguments);    // ripemd160
int RunEncodeCommand(const KivToolArguments& arguments);    // encode --codec NAME (UTF-8 in)
int RunDecodeCommand(const KivToolArguments& arguments);    // decode --codec NAME (UTF-8 out)
int RunPresetsCommand(const KivToolArguments& arguments);   // presets list|show|export|import LIBRARY ...
int RunGuiCommand(const KivToolArguments& arguments);       // gui FILE --png OUT [--size WxH]
