// The key rules of the declaration window's boxes and fields, without a window: one row per
// key and place, what it inserts and what it asks of the window.
#include "core/declaration/keyrules.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

struct BoxCase {
    const char *name;
    int box;
    int code;
    const char *type; // the representative's document-type entry
    int passed;
    bool assistant;
    bool next;
};

// A document-type entry with the given code and data kind (character 71).
QString typeEntry(const char *code, char kind)
{
    QString e = QString::fromLatin1(code) + QStringLiteral("  -  ");
    e = e.leftJustified(67, u' ') + QStringLiteral("08 ") + QChar::fromLatin1(kind) +
        QStringLiteral(" 1");
    return e;
}

TEST(BoxKeyRule, Table)
{
    const BoxCase cases[] = {
        {"digitInAnAmount", 101, '7', "", '7', false, false},
        {"letterInAnAmountDropped", 101, 'a', "", 0, false, false},
        {"backspaceInAnAmount", 101, kBackspaceKey, "", kBackspaceKey, false, false},
        {"enterMovesOn", 101, kEnterKey, "", 0, false, true},
        {"enterStaysIn113", 113, kEnterKey, "", 0, false, false},
        {"digitOpens105", 105, '3', "", 0, true, false},
        {"enterOpens110", 110, kEnterKey, "", 0, true, false},
        {"letterNeverOpens105", 105, 'x', "", 0, false, false},
        {"box160TakesOne", 160, '1', "", '1', false, false},
        {"box160RefusesThree", 160, '3', "", 0, false, false},
        {"box226LetterForKindZero", 226, 'b', "0", 'B', false, false},
        {"box226NoLetterForKindOne", 226, 'b', "1", 0, false, false},
        {"box226DigitForKindOne", 226, '4', "1", '4', false, false},
    };
    for (const BoxCase &c : cases) {
        const QString type = *c.type ? typeEntry("01", c.type[0]) : QString();
        const KeyOutcome out = boxKeyRule(c.box, c.code, type);
        EXPECT_EQ(out.passed, c.passed) << c.name;
        EXPECT_EQ(out.openAssistant, c.assistant) << c.name;
        EXPECT_EQ(out.nextControl, c.next) << c.name;
        EXPECT_TRUE(out.marksChange) << c.name;
    }
}

TEST(BoxKeyRule, CentsAreRefusedInAmountsOnly)
{
    for (int box : {101, 104, 142, 145, 180}) {
        const KeyOutcome out = boxKeyRule(box, '.', QString());
        EXPECT_EQ(out.passed, 0) << box;
        EXPECT_TRUE(out.centsRefused) << box;
        // A comma groups thousands: dropped, and the digits after it count.
        EXPECT_EQ(boxKeyRule(box, ',', QString()).passed, 0) << box;
        EXPECT_FALSE(boxKeyRule(box, ',', QString()).centsRefused) << box;
    }
    for (int box : {160, 208, 211, 226}) {
        EXPECT_FALSE(boxKeyRule(box, '.', QString()).centsRefused) << box;
    }
    EXPECT_FALSE(boxKeyRule(101, '5', QString()).centsRefused);
    // After the point, digits are cents: dropped until another key.
    EXPECT_EQ(boxKeyRule(104, '5', QString(), true).passed, 0);
    EXPECT_TRUE(boxKeyRule(104, '5', QString(), true).centsRefused);
    EXPECT_EQ(boxKeyRule(104, kBackspaceKey, QString(), true).passed, kBackspaceKey);
    EXPECT_FALSE(boxKeyRule(104, kBackspaceKey, QString(), true).centsRefused);
    EXPECT_EQ(boxKeyRule(226, '5', QString(), true).passed, '5');
}

TEST(FieldKeyRule, EnterMovesOnWithoutAChange)
{
    for (Field f : {Field::Telefono, Field::NumOrden, Field::NumOrdenCheck, Field::Periodo,
                    Field::ApellidoRepresentante, Field::NombreContador}) {
        const KeyOutcome out = fieldKeyRule(f, kEnterKey);
        EXPECT_TRUE(out.nextControl) << static_cast<int>(f);
        EXPECT_FALSE(out.marksChange) << static_cast<int>(f);
        EXPECT_EQ(out.passed, 0) << static_cast<int>(f);
    }
}

TEST(FieldKeyRule, WhatEachFieldTakes)
{
    EXPECT_EQ(fieldKeyRule(Field::Telefono, '5').passed, '5');
    EXPECT_EQ(fieldKeyRule(Field::Telefono, 'x').passed, 0);
    EXPECT_TRUE(fieldKeyRule(Field::Telefono, 'x').marksChange);
    EXPECT_EQ(fieldKeyRule(Field::Periodo, 'x').passed, 'x'); // the mask refuses it
    EXPECT_EQ(fieldKeyRule(Field::ApellidoContador, 'P').passed, 'P');
    EXPECT_EQ(fieldKeyRule(Field::ApellidoContador, '7').passed, 0);
    EXPECT_EQ(fieldKeyRule(Field::CantEmpresas, '2').passed, '2');
    EXPECT_EQ(fieldKeyRule(Field::CantEmpresas, 'a').passed, 0);
    EXPECT_FALSE(fieldKeyRule(Field::CantEmpresas, '2').marksChange);
    EXPECT_TRUE(fieldKeyRule(Field::CantEmpresas, kEnterKey).nextControl);
    // Names take lower-case letters as their capitals, accents included.
    EXPECT_EQ(fieldKeyRule(Field::NombreRepresentante, 'a').passed, 'A');
    EXPECT_EQ(fieldKeyRule(Field::ApellidoContador, 0xED).passed, 0xCD); // í -> Í
    EXPECT_EQ(fieldKeyRule(Field::NombreContador, ' ').passed, ' ');
    EXPECT_EQ(fieldKeyRule(Field::Razon, 'a').passed, 'a');
}

} // namespace
} // namespace qz
