// libFuzzer harness for the configuration file and the code page (clang,
// -fsanitize=fuzzer). The input is taken as a whole file. Checked on every
// input: a file that parses rebuilds into a sound container that parses to
// the same fields, and every byte string survives the code page both ways.
#include "config/CodePage1250.h"
#include "config/ConfigFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const tq3::ContainerCheck check = tq3::CheckContainer(file, "tcf");
    Require(check.sizeOk == (file.size() >= 4 && file.size() <= tq3::ContainerMaxSize));

    if (const auto fields = tq3::ParseConfigFile(file)) {
        const QByteArray rebuilt = tq3::BuildConfigFile(*fields);
        const tq3::ContainerCheck again = tq3::CheckContainer(rebuilt, "tcf");
        Require(again.sizeOk && again.tagOk && again.checkOk);
        Require(tq3::ParseConfigFile(rebuilt) == fields);
    }

    bool ok = false;
    const QString text = tq3::FromCp1250(file);
    Require(text.size() == file.size());
    Require(tq3::ToCp1250(text, &ok) == file && ok);
    return 0;
}
