#include "data/Rtf_Text_Reader.h"

#include <QStringDecoder>

#include <cctype>
#include <cstring>
#include <vector>

namespace {

// Groups whose text is never part of the document's body.
bool isHiddenDestination(const QByteArray& word)
{
    static const char* const hidden[] = { "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer",
        "headerl", "headerr", "headerf", "footerl", "footerr", "footerf", "footnote", "listtable", "listoverridetable",
        "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore", "object",
        "field", "fldinst", "filetbl", "revtbl" };
    for (const char* name : hidden) {
        if (word == name)
            return true;
    }
    return false;
}

struct Group {
    bool hidden = false;
    int skipAfterUnicode = 1; // \ucN: characters that stand in for each \u
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : text_(bytes)
    {
    }

    std::optional<QString> run()
    {
        if (!text_.startsWith("{\\rtf"))
            return std::nullopt;
        stack_.push_back(Group());
        bool started = false;
        while (pos_ < text_.size()) {
            const char c = text_.at(pos_);
            if (c == '{') {
                flushBytes();
                stack_.push_back(stack_.back());
                ++pos_;
                started = true;
            } else if (c == '}') {
                flushBytes();
                if (stack_.size() <= 1)
                    return std::nullopt;
                stack_.pop_back();
                ++pos_;
                if (stack_.size() == 1 && started)
                    return out_; // the document's own group has closed
            } else if (c == '\\') {
                controlWord();
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                addByte(c);
                ++pos_;
            }
        }
        return std::nullopt; // the groups never closed: a truncated document
    }

private:
    bool hidden() const { return stack_.back().hidden; }

    void addByte(char c)
    {
        if (!hidden())
            pending_.append(c);
    }

    void addText(const QString& s)
    {
        flushBytes();
        if (!hidden())
            out_ += s;
    }

    // Bytes of the document's code page (Windows-1252 unless it says otherwise) become characters.
    void flushBytes()
    {
        if (pending_.isEmpty())
            return;
        QStringDecoder decoder(codePage_.constData());
        out_ += decoder.isValid() ? decoder.decode(pending_) : QString::fromLatin1(pending_);
        pending_.clear();
    }

    void controlWord()
    {
        ++pos_; // the backslash
        if (pos_ >= text_.size())
            return;
        const char c = text_.at(pos_);
        if (c == '\\' || c == '{' || c == '}') {
            addByte(c);
            ++pos_;
            return;
        }
        if (c == '\'') {
            const bool ok = pos_ + 2 < text_.size() + 1;
            const int value = ok ? text_.mid(pos_ + 1, 2).toInt(nullptr, 16) : 0;
            addByte(char(value));
            pos_ += 3;
            return;
        }
        if (c == '*') {
            stack_.back().hidden = true; // an optional destination this reader does not know
            ++pos_;
            return;
        }
        if (c == '~') {
            addText(QString(QChar(0x00A0)));
            ++pos_;
            return;
        }
        if (c == '\r' || c == '\n') {
            addText(QStringLiteral("\n"));
            ++pos_;
            return;
        }
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_; // other control symbols carry no text
            return;
        }
        QByteArray word;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_.at(pos_))))
            word.append(text_.at(pos_++));
        bool hasNumber = false;
        int number = 0;
        const qsizetype numberStart = pos_;
        if (pos_ < text_.size()
            && (text_.at(pos_) == '-' || std::isdigit(static_cast<unsigned char>(text_.at(pos_))))) {
            ++pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_.at(pos_))))
                ++pos_;
            number = text_.mid(numberStart, pos_ - numberStart).toInt();
            hasNumber = true;
        }
        if (pos_ < text_.size() && text_.at(pos_) == ' ')
            ++pos_; // the delimiter belongs to the word
        apply(word, hasNumber, number);
    }

    void apply(const QByteArray& word, bool hasNumber, int number)
    {
        if (isHiddenDestination(word)) {
            stack_.back().hidden = true;
        } else if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") {
            addText(QStringLiteral("\n"));
        } else if (word == "tab" || word == "cell") {
            addText(QStringLiteral("\t"));
        } else if (word == "ansicpg" && hasNumber) {
            codePage_ = "windows-" + QByteArray::number(number);
        } else if (word == "uc" && hasNumber) {
            stack_.back().skipAfterUnicode = qMax(0, number);
        } else if (word == "u" && hasNumber) {
            const char16_t unit = char16_t(number < 0 ? number + 65536 : number);
            addText(QString(QChar(unit)));
            skipStandIns(stack_.back().skipAfterUnicode);
        } else if (word == "emdash") {
            addText(QString(QChar(0x2014)));
        } else if (word == "endash") {
            addText(QString(QChar(0x2013)));
        } else if (word == "bullet") {
            addText(QString(QChar(0x2022)));
        } else if (word == "lquote" || word == "rquote") {
            addText(QString(QChar(word == "lquote" ? 0x2018 : 0x2019)));
        } else if (word == "ldblquote" || word == "rdblquote") {
            addText(QString(QChar(word == "ldblquote" ? 0x201C : 0x201D)));
        }
    }

    // After \uN the reader skips the N stand-in characters for readers without Unicode.
    void skipStandIns(int count)
    {
        for (int i = 0; i < count && pos_ < text_.size(); ++i) {
            const char c = text_.at(pos_);
            if (c == '{' || c == '}')
                return;
            if (c == '\\' && pos_ + 1 < text_.size() && text_.at(pos_ + 1) == '\'')
                pos_ += 4;
            else
                ++pos_;
        }
    }

    const QByteArray text_;
    qsizetype pos_ = 0;
    std::vector<Group> stack_;
    QByteArray pending_;
    QByteArray codePage_ = "windows-1252";
    QString out_;
};

} // namespace

std::optional<QString> rtfPlainText(const QByteArray& bytes)
{
    return Reader(bytes).run();
}
