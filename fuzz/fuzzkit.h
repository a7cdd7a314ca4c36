#pragma once

// Shared by the fuzz targets: a quiet program, one temporary start
// directory for the whole run, a fixed text measure and a check that ends
// the run with a report when a rule of the program does not hold.

#include "print/drawsteps.h"
#include "quotes/BourseData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace fuzzkit
{

// Silences Qt's messages (the silent prompts report errors through them).
// Called by every target once, from LLVMFuzzerInitialize.
void quiet();

// The temporary start directory of this run, removed at exit.
QString dir();
// Writes the bytes as a file of that directory, replacing it.
void write(const QString &name, const QByteArray &bytes);
void remove(const QString &name);

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Seven pixels a character, thirteen a line: charts are computed without a
// font.
TextMeasure measure();

// A broken rule: prints it and aborts, which libFuzzer reports as a crash.
[[noreturn]] void fail(const char *what, const QString &detail = {});
inline void check(bool ok, const char *what, const QString &detail = {})
{
    if (!ok) fail(what, detail);
}

// A small quotation store of three securities over a few days, for the
// targets that need one beside the bytes they read (portfolio, import).
QStringList sampleStore();

} // namespace fuzzkit
