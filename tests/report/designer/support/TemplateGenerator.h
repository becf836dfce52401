#pragma once
// Random report templates for property tests: a report fixture (items, parameters, details)
// and a template text, either canonical (written exactly as the template writers write it, so
// that read-then-write must give it back line for line) or noisy (damaged in the ways real
// files are: lines shuffled, fields dropped or added, old versions, odd numbers).

#include "report/engine/sest_lib.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <random>

namespace designtest {

using namespace Qt::StringLiterals;

struct GeneratedFixture {
    QStringList itemNames;
    QStringList itemDescriptions;
    QStringList parameters;
    int details = 0;
};

class TemplateGenerator {
public:
    explicit TemplateGenerator(unsigned seed) : m_random(seed) {}

    GeneratedFixture fixture() {
        GeneratedFixture f;
        const int items = range(1, 6);
        for (int i = 0; i < items; ++i) {
            f.itemNames << u"pol%1"_s.arg(i) + pick({"", "_a", " b", "ž"});
            f.itemDescriptions << text();
        }
        for (int i = range(0, 3); i > 0; --i)
            f.parameters << text();
        f.details = range(0, 2);
        m_fixture = f;
        return f;
    }

    // A canonical template for the last fixture; `detail` leaves out the H and P lines.
    QStringList canonical(bool detail = false) {
        QStringList lines;
        // an empty description would keep the report's own: not canonical
        lines << u"I,0,"_s + report::QuotedField(pick({"Sestava", "a,b", "uvozovka \"x\"",
                                                       "ěščřžýáíé", "\"", ",,", "x;y:z"}));
        lines << u"I,1,5,40,17"_s;
        lines << join({"I,2", n(range(0, 3)), n(range(500, 1700)), n(range(500, 1700)),
                       n(range(0, 120)), n(range(0, 120)), n(range(0, 120)), n(range(0, 120)),
                       n(range(1, 4)), n(range(0, 50))});
        static const int flagLimit[] = {1, 1, 1, 3, 1};
        for (int code = 0; code < 5; ++code)
            lines << join(
                {"I,3", n(code), n(range(0, 1)), n(range(0, 400)), n(range(0, flagLimit[code]))});
        const int groups = range(0, 3);
        for (int g = 0; g < groups; ++g)
            lines << join({"I,4", n(g), groupKey(), n(range(0, 1)), n(range(0, 200)),
                           n(range(0, 1)), n(range(0, 200)), n(range(0, 1))});
        lines << join({"I,5", n(range(-100000, 100000))});
        if (range(0, 1)) {
            const int line = range(0, 3), pitch = range(0, 3);
            const int gx = pitch == 1 ? 8 : pitch == 2 ? 6 : 10;
            const int gy = line == 1 ? 25 : line == 2 ? 33 : 17;
            lines << join(
                {"I,6", "1", n(gx), n(gy), n(line), n(pitch), n(range(0, 1)), n(range(0, 1))});
        } else {
            lines << join({"I,6", "0", n(range(1, 50)), n(range(1, 50)), n(range(0, 3)),
                           n(range(0, 3)), n(range(0, 1)), n(range(0, 1))});
        }
        lines << join(
            {"I,7", n(range(0, 1)), n(range(0, 1)), n(range(0, 1)), n(range(-50, 500)),
             n(range(-50, 500)), n(range(1, 900)), n(range(1, 900)),
             report::BareField(pick({"", "obr.bmp", "a,b.jpg", "q\"uote.png", "ž.wmf"}))});
        const int functions = range(0, 3);
        m_functionNames.clear();
        for (int i = 0; i < functions; ++i) {
            const QString name = u"fn%1"_s.arg(i) + pick({"", ",x", "\"q"});
            m_functionNames << name;
            lines << join({"F", n(i), report::BareField(name), report::QuotedField(text()),
                           n(range(0, 1)), report::QuotedField(text()), n(range(0, 3)),
                           report::QuotedField(expression()), n(range(0, 7)), n(range(1, 18)),
                           n(range(0, 18)), n(range(0, 4))});
        }
        for (int code = 0; code < 5; ++code) {
            if (detail && (code == 1 || code == 4)) continue;
            elements(lines, QString(QChar(u"ZHTKP"[code])), detail);
        }
        for (int g = 0; g < groups; ++g) {
            elements(lines, u'S' + n(g), detail);
            elements(lines, u'U' + n(g), detail);
        }
        if (!detail) {
            for (int j = 0; j < m_fixture.details; ++j) {
                TemplateGenerator inner{unsigned(m_random())};
                inner.m_fixture = m_fixture;
                inner.m_fixture.details = 0;
                for (const QString& line : inner.canonical(true))
                    lines << u'D' + n(j) + u',' + line;
            }
        }
        return lines;
    }

    // The canonical text damaged: line order shuffled within the file, trailing fields
    // dropped, surplus fields, unknown setting numbers and keys, lines of one character, an
    // old version line, group numbers out of order, lines for missing groups, D lines of
    // unregistered details.
    QStringList noisy() {
        QStringList lines = canonical();
        for (QString& line : lines) {
            const int roll = range(0, 9);
            if (roll == 0 && line.count(u',') > 2)
                line.truncate(line.lastIndexOf(u','));
            else if (roll == 1)
                line += u",99,\"x\""_s;
        }
        lines << u"I,9,1,2"_s << u"I,-3"_s << u"Q,1,2"_s << u"T"_s << QString()
              << u"S7,1,0,1,1,1,1,Arial"_s << u"D9,I,0,\"cizí\""_s << u"I,4,12,5,1,20,0,30,1"_s
              << u"T,5,4,0,0,10,10,Arial,10,0,0,0,0,1,\"\",0,0,0"_s << u"I,3,7,1,1,1"_s
              << u"I,2,1,-5,-5,-5,-5"_s;
        if (range(0, 1)) lines << u"I,1,1,0,2"_s;
        std::shuffle(lines.begin(), lines.end(), m_random);
        return lines;
    }

    int range(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

private:
    QString pick(std::initializer_list<const char*> choices) {
        const int i = range(0, int(choices.size()) - 1);
        return QString::fromUtf8(*(choices.begin() + i));
    }
    static QString n(qint64 value) { return QString::number(value); }
    static QString join(std::initializer_list<QString> fields) {
        return QStringList(fields).join(u',');
    }

    QString text() {
        return pick({"", "Sestava", "a,b", "uvozovka \"x\"", "ěščřžýáíé", "\"", ",,", "x;y:z"});
    }
    QString expression() {
        return pick({"", "[pol0]+1", "\"a,b\"", "IIF([pol1]>0,\"ano\",\"ne\")", "'12:30'"});
    }
    QString groupKey() {
        switch (range(0, 3)) {
        case 0:
            return report::BareField(
                m_fixture.itemNames[range(0, int(m_fixture.itemNames.size()) - 1)]);
        case 1:
            return report::BareField(pick({"neznámá", "k,l", "\"q"}));
        default:
            return n(range(0, 20));
        }
    }

    void elements(QStringList& lines, const QString& key, bool detail) {
        for (int e = range(0, 4); e > 0; --e) {
            static const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15};
            int kind = kinds[range(0, 13)];
            if (kind == 15 && (detail || m_fixture.details == 0)) kind = 1;
            lines << element(key, kind);
        }
    }

    QString element(const QString& key, int kind) {
        const QString geometry =
            join({n(range(-20, 900)), n(range(-20, 300)), n(range(0, 600)), n(range(0, 200))});
        if (kind == 15) return join({key, "15", n(range(0, m_fixture.details - 1)), geometry});
        if (kind >= 7) {
            QString index = n(kind >= 8 && kind <= 10 ? kind : range(0, 9));
            const int width = range(1, 16);
            const int style = kind == 7 && width > 1 ? 0 : range(0, 3);
            int options = range(0, 15);
            if (kind == 13) options |= 16;
            const int brush = kind == 13 ? range(1, 6) : range(0, 7);
            QString line =
                join({key, n(kind), index, geometry, QString(), n(width), n(range(0, 15)),
                      n(style), n(options), n(range(0, 15)), n(brush)});
            if (kind == 11)
                line +=
                    u',' + report::QuotedField(pick({"", "a.bmp", "a.bmp;b,c.jpg", "\"q.png"}));
            if (kind == 12)
                line += u',' + report::QuotedField(expression()) + u',' +
                        join({n(range(0, 5)), n(range(0, 3)), n(range(0, 1000))});
            return line;
        }
        QString reference;
        const int items = int(m_fixture.itemNames.size());
        if ((kind == 2 || kind == 3) && range(0, 1))
            reference = report::BareField(m_fixture.itemNames[range(0, items - 1)]);
        else if (kind == 6 && !m_functionNames.isEmpty() && range(0, 1))
            reference =
                report::BareField(m_functionNames[range(0, int(m_functionNames.size()) - 1)]);
        else if (kind == 2 || kind == 3)
            reference = n(range(0, items - 1));
        else
            reference = n(range(0, 12));
        static const int alignOptions[] = {0, 8, 16, 32, 64, 128, 8 + 64, 16 + 32 + 128};
        static const int charsets[] = {0, 1, 2, 161, 162, 186, 204, 238};
        const QString textField =
            kind == 1 || kind == 5
                ? report::QuotedField(kind == 5 ? pick({"dd.mm.yyyy", "0,00", "\"#\""}) : text())
                : u"\"\""_s;
        return join(
            {key, n(kind), reference, geometry,
             report::BareField(
                 pick({"Arial", "Times New Roman", "Courier New", "Roman 12cpi", "DejaVu Sans"})),
             n(range(6, 40)), n(range(0, 15)), n(range(0, 15)),
             n(range(0, 2) + alignOptions[range(0, 7)]), n(range(0, 15)), n(charsets[range(0, 7)]),
             textField, n(range(0, 20)), n(range(0, 3)), n(range(0, 500))});
    }

    std::mt19937 m_random;
    GeneratedFixture m_fixture;
    QStringList m_functionNames;
};

} // namespace designtest
