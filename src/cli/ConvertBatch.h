#pragma once

#include <QStringList>

class QCommandLineParser;

// Conversions of many files without a window: `convert --out-dir DIR FILE...`
// and the virtual printer's `watch FOLDER --convert FORMAT --out DIR`. Each
// file is converted by `sticker2 convert` with the same options, into DIR
// under the file's own name with the format's ending.
struct ConvertBatch
{
    // Fills the batch from convert's parsed arguments: --out-dir DIR, -j N
    // and, hidden, the watch's --watch (the one argument is a folder), --keep
    // and --move. -1 to go on (isSet() tells whether it is a batch or a
    // watch), else the status of the usage error printed.
    int read(const QCommandLineParser &parser, const QString &synopsis);
    bool isSet() const { return active; }

    QStringList inputs;  // the files, for a batch
    QString watchFolder; // the folder, for a watch
    QString outDir;
    QString extension;     // of the outputs: "pdf", "html" ...
    QStringList options;   // convert's options, given to every conversion
    int parallel = 1;      // conversions at once
    bool moveDone = false; // a watch moves converted jobs to DIR/done
    bool active = false;   // read() found --out-dir
};

namespace CommandLine {

// Converts the inputs; one line on standard error per file that failed and
// status 1 if any did, and a note for a file in another printer language. On a terminal, standard error shows the progress.
int runConvertBatch(const ConvertBatch &batch);

// Converts each complete job written into the folder until stopped; jobs
// there already are converted too unless they are recorded as converted
// (ConvertedJobs), and with --move a recorded job still there is moved.
// One line per job on standard error. A job that fails goes to DIR/failed
// with its log beside it, and the watch goes on.
int runConvertWatch(const ConvertBatch &watch);

} // namespace CommandLine
