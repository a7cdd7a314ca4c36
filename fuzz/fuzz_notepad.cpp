// The notepad's file "Valmeq.nte": loaded, then saved as the notepad saves
// it when its text can be held, and loaded again.

#include "fuzzkit.h"

#include "accessories/notepad.h"
#include "base/errors.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = notepad::path(fuzzkit::dir());
    fuzzkit::write(QStringLiteral("Valmeq.nte"), fuzzkit::bytes(data, size));
    const QStringList lines = notepad::load(path);
    bool holdable = true;
    for (const QString &line : lines)
        holdable = holdable && notepad::refusal(line).isEmpty();
    try {
        notepad::save(path, lines);
        fuzzkit::check(holdable, "text refused is never saved");
    } catch (const VError &) {
        fuzzkit::check(!holdable, "text that can be held is saved");
        return 0;
    }
    fuzzkit::check(notepad::load(path) == lines, "the notepad reads back what it saved",
                   lines.join(QLatin1Char('|')));
    return 0;
}
