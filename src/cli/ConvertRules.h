#pragma once

#include "codepage/CodePageGuess.h"

#include <QStringList>

#include <optional>

class QCommandLineParser;

// `convert --rules FILE IN OUT`: the PDF of one job made, named, filed,
// mailed and printed by the first rule that matches it; OUT is where it
// goes when no rule says otherwise. The watch's conversions get two hidden
// options: --rules-origin (the rules file the copy given was read from: it
// names the faults and places relative paths) and --rules-plan (the plan is
// written there, for the watch to carry out, instead of being carried out).
struct ConvertRules
{
    QString rulesPath;
    QString origin;
    QString planPath;
    QString in;
    QString out;
    std::optional<CodePage::Choice> codePage;
    QStringList convertOptions; // the command line's own convert options, less these

    // The options given, less the rules' own, as a convert command line takes them.
    static QStringList otherOptions(const QCommandLineParser &parser);
    // Whether convert's options (a PDF's) leave the printed look, the
    // default, the only one with sheets and forms.
    static bool printedLook(const QStringList &options);
};

namespace CommandLine {
int runConvertRules(const ConvertRules &request);
}
