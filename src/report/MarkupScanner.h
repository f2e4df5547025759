#pragma once

#include "report/ReportMarkup.h"

#include <QByteArrayView>
#include <QStringView>
#include <QTextCharFormat>
#include <QVector>

#include <functional>
#include <memory>

// One stretch of text with one style.
struct MarkupRun
{
    qsizetype length = 0;
    int style = 0; // see MarkupScanner::format()
};

// The markup passes of applyMarkupPasses as one scan over a text that comes
// in pieces, without a document: every pass looks for its open sequence,
// hides it, looks for the close sequence after it, hides that and gives the
// text between the tag's format; the next open is looked for from that
// close. An open with no close after it is hidden and ends its pass. What a
// character ends with is the merge, in pass order, of what each pass gave it;
// the scan reports it as a style per run.
//
// Whether an open has a close after it is known only at the end of the text.
// A first scan therefore takes every open as closed and notes where each
// pass's last close lies; when some pass was left waiting for a close
// (settled() false), a scan made by rescan() marks the same pieces again,
// exactly. Pieces must not cut a sequence in two; cutPoint() finds a place
// where none can be cut.
class MarkupScanner
{
public:
    MarkupScanner(const MarkupContext &context, MarkupOrder order);
    // The same for passes of one's own choosing, in the order given.
    MarkupScanner(const MarkupContext &context, const QVector<MarkupPass> &passes);

    // The runs of the next piece, in order; their lengths add up to the piece's.
    void mark(QStringView piece, QVector<MarkupRun> *runs);
    // Whether every run marked so far is final.
    bool settled() const;
    // A scan of the same text from its start that knows where the closes are.
    MarkupScanner rescan() const;
    // The same, told where each pass's last close begins in the whole text
    // (-1 for none): what a first scan would have found, without making it.
    MarkupScanner knowingCloses(const std::function<qsizetype(const QString &close)> &lastClose) const;

    // The format the passes merged into a run of a style; empty for untouched text.
    const QTextCharFormat &format(int style) const;
    // The same style pass by pass, for those who want the parts rather than
    // the merge: the passes that act (a pass with an empty sequence does not),
    // the region look of each, whether the pass gave a style's characters
    // its region look, and whether some pass hid them.
    int passCount() const { return int(m_passes.size()); }
    const RegionLook &regionLook(int pass) const { return m_passes.at(pass).look; }
    bool inRegion(int style, int pass) const;
    bool hides(int style) const;

    // How many of the bytes, at most `limit` where possible, make a piece
    // that cuts neither a sequence nor a CR LF: up to a line end in the
    // second half, else up to a byte that no sequence holds. All of them
    // when there are no more than `limit`.
    qsizetype cutPoint(QByteArrayView bytes, qsizetype limit) const;

private:
    struct Pass
    {
        QString open;
        QString close;
        RegionLook look;
        QTextCharFormat region; // the look as a format
        qsizetype lastClose = -1; // where the last close begins
        bool inRegion = false;    // an open was found and its close is still ahead
        bool ended = false;       // an open without a close: nothing more to find
    };

    void markPass(int index, QStringView piece, quint16 *styles);

    QVector<Pass> m_passes;
    bool m_closesKnown = false;
    QVector<bool> m_inSequence = QVector<bool>(256, false); // bytes some sequence holds
    // Shared by the copies of a scanner, which have the same passes (so a
    // scanner and its copies belong to one thread).
    struct Formats
    {
        QVector<QTextCharFormat> formats;
        QVector<bool> made;
    };
    std::shared_ptr<Formats> m_formats;
    QVector<quint16> m_styles;
    qsizetype m_marked = 0;
};
