#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Whether a print file holds what only the printed look can show (bit-image
// pictures, or text placed by absolute or relative positioning, which the
// emphasis look shows as stray letters and long lines of dot data), and the
// user's remembered answer to the offer of the printed look, kept for each
// kind of file (its name's suffix: ".prn", ".txt", none).
namespace PrintedLookOffer {

enum class Need {
    None,        // the emphasis look shows it as it prints
    Pictures,    // bit-image or raster graphics
    Positioning, // text placed at absolute or relative positions
};

// Reads at most the first few megabytes; pictures win over positioning.
Need need(QByteArrayView bytes);

// The kind a file counts as: its suffix in lower case ("prn"), empty for
// a name without one.
QString kindOf(const QString &fileName);

// The remembered answer for files of this kind: true shows them printed,
// false keeps the emphasis look; nothing while the user has not answered.
std::optional<bool> answer(const QString &kind);
// False when the settings file cannot be written.
bool saveAnswer(const QString &kind, bool printed);

} // namespace PrintedLookOffer
