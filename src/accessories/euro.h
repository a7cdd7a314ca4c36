#pragma once

#include <QChar>
#include <QString>

// The franc/euro converter without its window.
class EuroConverter
{
public:
    enum Direction { FrancsToEuros, EurosToFrancs };

    Direction direction() const { return m_direction; }
    void setDirection(Direction d) { m_direction = d; }
    // Francs per euro times 100000.
    int rate() const { return m_rate; }
    // The rate as the window shows it: "6,55957".
    QString rateText() const;
    void rateUp();
    void rateDown(); // never below 1

    QString input() const { return m_input; }
    QString result() const { return m_result; }
    bool resultShown() const { return m_resultShown; }

    // A digit or the comma ("." is taken as ","); false for any other
    // character, which the converter leaves to `otherKey`.
    bool type(QChar c);
    // Any key but a digit, the comma, Enter and Escape: clears a result shown.
    void otherKey();
    // "=" or Enter.
    void convert();

    // The conversions themselves, as shown.
    static QString toEuros(double francs, int rate);
    static QString toFrancs(double euros, int rate);

private:
    void clearShown();

    Direction m_direction = FrancsToEuros;
    int m_rate = 655957;
    QString m_input;
    QString m_result;
    bool m_resultShown = false;
};
