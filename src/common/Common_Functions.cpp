#include "common/Common_Functions.h"

#include "platform/GuiThread.h"
#include "platform/UiSeam.h"

#include <QGroupBox>
#include <QLabel>

#include <cstdio>
#include <exception>

void Main_Thread_Messgae(const QString& message)
{
    platform::ui().showMessage({ platform::MessageRequest::Kind::Information, message });
}

int Main_Thread_Messgae_Yes_No(const QString& message)
{
    return platform::ui().showMessage({ platform::MessageRequest::Kind::YesNo, message }) == 1 ? 1 : 0;
}

void Show_MessageBox(const QString& text)
{
    try {
        const QString message = QLatin1Char('\n') + text;
        platform::runOnGuiThread([&message] { Main_Thread_Messgae(message); });
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

int Show_YES_NO_MessageBox(const QString& text)
{
    // The answer travels back with the call, so two threads asking at once never read each other's answer.
    return platform::runOnGuiThread([&text] { return Main_Thread_Messgae_Yes_No(text); });
}

int Show_Save_Question(const QString& text)
{
    return platform::runOnGuiThread([&text] {
        return platform::ui().showMessage({ platform::MessageRequest::Kind::SaveQuestion, text });
    });
}

void Show_NSLog_Message(const QString& text)
{
    if (text.isEmpty())
        return;
    const QByteArray line = text.toUtf8();
    std::fprintf(stderr, "tessaline: %s\n", line.constData());
}

namespace {

bool isWhitespaceOrNewline(char32_t c)
{
    if (c == U'\t' || c == U'\n' || c == 0x0B || c == 0x0C || c == U'\r' || c == 0x85 || c == 0x2028 || c == 0x2029)
        return true;
    return QChar::category(c) == QChar::Separator_Space;
}

bool isControl(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

// Code point at i and its length in UTF-16 units; at a lone surrogate the unit itself.
char32_t codePointAt(const QString& s, qsizetype i, int* length)
{
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, s[i + 1]);
    }
    *length = 1;
    return c.unicode();
}

char32_t codePointBefore(const QString& s, qsizetype end, int* length)
{
    const QChar c = s[end - 1];
    if (c.isLowSurrogate() && end - 2 >= 0 && s[end - 2].isHighSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(s[end - 2], c);
    }
    *length = 1;
    return c.unicode();
}

template <typename Predicate>
QString trimBoth(const QString& s, Predicate inSet)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    int length = 0;
    while (begin < end && inSet(codePointAt(s, begin, &length)))
        begin += length;
    while (end > begin && inSet(codePointBefore(s, end, &length)))
        end -= length;
    return s.mid(begin, end - begin);
}

bool splitsSurrogatePair(const QString& s, qsizetype i)
{
    return i > 0 && i < s.size() && s[i - 1].isHighSurrogate() && s[i].isLowSurrogate();
}

} // namespace

QString Trim_Str(const QString& s)
{
    // Blanks and control or format characters go together, in one pass: trimming one set and then the
    // other would leave a blank behind a control character, and a second trim would change the value.
    return trimBoth(s, [](char32_t c) { return isWhitespaceOrNewline(c) || isControl(c); });
}

QString Remove_Reserve_Char_In_File_Name(const QString& s)
{
    static const QString reserved = QStringLiteral("/\\?%*|\"<>");
    return Trim_Str(trimBoth(s, [](char32_t c) { return c < 0x10000 && reserved.contains(QChar(char16_t(c))); }));
}

QString truncatedAtCharacterBoundary(const QString& s, int n)
{
    if (n <= 0)
        return QString(QLatin1String(""));
    if (n >= s.size())
        return s;
    return s.left(splitsSurrogatePair(s, n) ? n - 1 : n);
}

QString Name_In_Notice(const QString& name)
{
    if (name.size() <= kNoticeNameLength)
        return name;
    return truncatedAtCharacterBoundary(name, kNoticeNameLength - 1) + QChar(0x2026);
}

QString Path_In_Notice(const QString& path)
{
    if (path.size() <= kNoticeNameLength)
        return path;
    const int tail = kNoticeNameLength / 2;
    const int head = kNoticeNameLength - tail - 1;
    QString end = path.right(tail);
    if (!end.isEmpty() && end.front().isLowSurrogate())
        end.remove(0, 1); // never half a character
    return truncatedAtCharacterBoundary(path, head) + QChar(0x2026) + end;
}

QString Left_Str_substringToIndex(const QString& s, int n)
{
    return truncatedAtCharacterBoundary(s, n);
}

QString Right_Str_substringFromIndex(const QString& s, int n)
{
    if (n <= 0)
        return QString(QLatin1String(""));
    if (n >= s.size())
        return s;
    qsizetype start = s.size() - n;
    if (splitsSurrogatePair(s, start))
        ++start;
    return s.mid(start);
}

QString Read_Str_FromIndex(const QString& s, int i)
{
    if (i < 0 || i > s.size())
        return QString(QLatin1String(""));
    qsizetype start = i;
    if (splitsSurrogatePair(s, start))
        ++start;
    return s.mid(start);
}

QString Read_Str_Upto_Index(const QString& s, int i)
{
    if (i < 0 || i > s.size())
        return QString(QLatin1String(""));
    return truncatedAtCharacterBoundary(s, i);
}

QString Replace_char_in_string(const QString& s, const QString& a, const QString& b)
{
    if (a.isEmpty())
        return s;
    QString result = s;
    return result.replace(a, b, Qt::CaseSensitive);
}

int Find_Str(const QString& s, const QString& t)
{
    return !t.isEmpty() && s.contains(t, Qt::CaseSensitive) ? 1 : 0;
}

int Find_Str_Case_Insensitive(const QString& s, const QString& t)
{
    if (s.isNull() || t.isNull())
        return 0;
    return !t.isEmpty() && s.contains(t, Qt::CaseInsensitive) ? 1 : 0;
}

void Show_Labels_As_Plain_Text(QWidget& window)
{
    for (QLabel* label : window.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

void SetObjEnabled(QWidget* control, bool flag)
{
    if (!control)
        return;
    control->setEnabled(flag);
    // Qt greys a disabled label or line edit itself. A group box reaches its children and theirs:
    // going one level further than the box's own children lets boxes within boxes follow.
    if (qobject_cast<QGroupBox*>(control) && control->metaObject() == &QGroupBox::staticMetaObject) {
        for (QWidget* child : control->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            SetObjEnabled(child, flag);
            for (QWidget* grandChild : child->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                SetObjEnabled(grandChild, flag);
        }
    }
}

float Points_to_MM_Convert(float points)
{
    return float(double(points) * 0.3527777777778);
}

float MM_to_Points_Convert(float millimetres)
{
    return float(double(millimetres) * kPointsPerMillimetre);
}
