#pragma once

#include <QChar>
#include <QString>

// The pocket calculator without its window: the display, the accumulator,
// the operand and the pending operator, worked key by key. One calculator
// serves every opening of the window while the program runs.
class PocketCalc
{
public:
    // The calculator the window works on.
    static PocketCalc &shared();

    // "C", and every opening of the window: everything cleared but the
    // new-entry flag.
    void reset();
    // One key, as typed or as its button: "0" to "9", "," or ".", "+", "-",
    // "*", "/", "=", "C"/"c", "S"/"s" (square root), "X"/"x" (reciprocal).
    // Returns the message of a refused operation (the state is then left as
    // it was), or an empty text. Other keys are ignored.
    QString press(QChar key);
    // True for the keys `press` acts on.
    static bool isKey(QChar key);

    QString display() const { return m_display; }
    double accumulator() const { return m_accumulator; }
    bool isLoaded() const { return m_loaded; }

    // A value as the calculator stores it: 40 significant bits, and the
    // range of such reals; false when the value is beyond that range.
    static bool toStored(double value, double *stored);
    // The text shown after "=": the general format cut to the 15 characters
    // of the display; in exponent form the exponent stays whole and only the
    // mantissa is shortened.
    static QString fitDisplay(double value);
    // The general format with an exponent written "E21", "E-5".
    static QString general(double value);
    // A stored value as shown: the general format with the 12 significant
    // digits a stored real holds, so that no binary remainder shows
    // (0,1 + 0,2 shows 0,3).
    static QString shown(double value);
    // The significant digits of a stored real.
    static constexpr int kDigits = 12;

private:
    QString equals();
    QString unary(bool reciprocal);
    void digit(QChar d);
    void comma();

    QString m_display;
    double m_accumulator = 0;
    double m_operand = 0;
    QChar m_pending; // null: none
    bool m_loaded = false;
    bool m_newEntry = false;
};
