#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>

#include <set>
#include <string>
#include <string_view>
#include <vector>

// Stable names for embedded font subsets. Qt makes the six letters of a
// subset's name ("/QBBAAA+DejaVuSansMono") from the number its font object
// happened to get, which follows the order of a hash table; the finishing
// passes (PdfRewriter, and qpdf's in the library module, which has no engine
// to link: hence inline) name each subset after its font program instead,
// so that the same subset has the same name in every run and another subset
// in the same file another name.
namespace SubsetNames {

// The name without its tag ("/DejaVuSansMono"), or empty when it has none.
inline std::string untagged(const std::string &name)
{
    if (name.size() < 9 || name[7] != '+')
        return std::string();
    for (size_t i = 1; i < 7; ++i) {
        if (name[i] < 'A' || name[i] > 'Z')
            return std::string();
    }
    return name.substr(8);
}

// "/TAG+base", the tag made from `base` and the font programs, and not one
// of `taken` (which then holds it).
inline std::string stableName(const std::string &base, const std::vector<std::string_view> &programs,
    std::set<std::string> *taken)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(QByteArrayView(base.data(), qsizetype(base.size())));
    for (const std::string_view program : programs)
        digest.addData(QByteArrayView(program.data(), qsizetype(program.size())));
    const QByteArray hash = digest.result();
    std::string name;
    for (int attempt = 0; name.empty() || taken->count(name); ++attempt) {
        std::string tag;
        for (int i = 0; i < 6; ++i)
            tag.push_back(char('A' + quint8(hash[(i + attempt) % hash.size()]) % 26));
        name = "/" + tag + "+" + base;
    }
    taken->insert(name);
    return name;
}

} // namespace SubsetNames
