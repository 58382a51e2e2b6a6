#pragma once

#include "mainwindowprobe.h"

// One thing a user does, as a line: "relay 5", "mode Latching", "gate NAND", "input 3", "picture gate",
// "click Unlatching Input", "menu Edit/Clear/All", "seconds 5.5" (then Enter; or "escape", "leave"),
// "slider hours 3", "force Program Relay" (even disabled), "closure 1 2 5.5" (the dialog),
// "press Latch Input" (the mouse, even disabled), "double " before a picture or press, "key Escape",
// "locale de_DE". False when the user could not do it.
inline bool performStep(MainWindowProbe &probe, const QString &step, int clicks = 1)
{
    using Probe = MainWindowProbe;
    const QStringList words = step.split(u' ');
    const QString verb = words.first(), rest = step.section(u' ', 1);
    if (verb == QLatin1String("double"))
        return performStep(probe, rest, 2);
    if (verb == QLatin1String("press"))
        return probe.pressMouse(rest, clicks);
    if (verb == QLatin1String("key"))
        return probe.pressKey(rest);
    if (verb == QLatin1String("locale"))
        return QLocale::setDefault(QLocale(rest)), true;
    const auto position = [](const QString &word, const char *list) {
        return int(QString::fromLatin1(list).split(u' ').indexOf(word));
    };
    if (const int list = position(verb, "relay mode gate"); list >= 0)
        return probe.select(Probe::List(list), list == 0 ? QStringLiteral("Relay ") + rest : rest);
    if (const int unit = position(verb, "hours minutes seconds"); unit >= 0)
        probe.typeTime(Probe::Unit(unit), words.value(1),
                       Probe::Ending(qMax(0, position(words.value(2), "enter escape leave"))));
    else if (verb == QLatin1String("closure"))
        return probe.choose(QStringLiteral("Edit/Change Relay/Closure Time...").split(u'/')) &&
               probe.answerClosureTime(words.mid(1));
    else if (verb == QLatin1String("slider"))
        probe.moveSlider(Probe::Unit(position(words.value(1), "hours minutes seconds")),
                         words.value(2).toInt());
    else if (verb == QLatin1String("input") || verb == QLatin1String("picture"))
        probe.clickPicture(verb == QLatin1String("input")  ? Probe::Picture::Input
                           : rest == QLatin1String("gate") ? Probe::Picture::Gate
                                                           : Probe::Picture::Relay,
                           rest.toInt() - 1, clicks);
    else
        return verb == QLatin1String("click") ? probe.click(rest)
               : verb == QLatin1String("force")
                   ? probe.clickEvenIfDisabled(rest)
                   : verb == QLatin1String("menu") && probe.choose(rest.split(u'/'));
    return true;
}

// Steps separated by ";", each after the one before has ended; false at the first one the user could not do.
inline bool performSteps(MainWindowProbe &probe, const QString &steps)
{
    for (const QString &step : steps.split(u';', Qt::SkipEmptyParts)) {
        if (!performStep(probe, step.trimmed()))
            return qWarning("could not do: %s", qPrintable(step)), false;
        QCoreApplication::processEvents();
    }
    return true;
}
