#include "barcode/Barcode_Entries.h"

const QStringList& Barcode_Type_Titles()
{
    static const QStringList titles {
        QStringLiteral("Code 39"),
        QStringLiteral("Extended Code 39"),
        QStringLiteral("Interleaved 2 of 5"),
        QStringLiteral("UPCA"),
        QStringLiteral("PostNet"),
        QStringLiteral("Modified Plessey"),
        QStringLiteral("Modified Plessey (Hex)"),
        QStringLiteral("Industrial 2 of 5"),
        QStringLiteral("EAN-13"),
        QStringLiteral("Code 128"),
        QStringLiteral("Code 128 SET A"),
        QStringLiteral("Code 128 SET B"),
        QStringLiteral("Code 128 SET C"),
        QStringLiteral("Codabar"),
        QStringLiteral("UPCE"),
        QStringLiteral("EAN-8"),
        QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"),
        QStringLiteral("Planet"),
        QStringLiteral("Japan Post Barcode"),
        QStringLiteral("QR Code"),
        QStringLiteral("PDF417"),
        QStringLiteral("DataMatrix"),
    };
    return titles;
}

bool Barcode_Type_Is_2D(const QString& title)
{
    return title == QLatin1String("QR Code") || title == QLatin1String("PDF417")
        || title == QLatin1String("DataMatrix");
}

const QStringList& Barcode_Align_Entries()
{
    static const QStringList entries { QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right") };
    return entries;
}

const QStringList& Barcode_QR_Version_Entries()
{
    static const QStringList entries = [] {
        QStringList list { QStringLiteral("Auto") };
        for (int version = 1; version <= 40; ++version)
            list << QStringLiteral("V%1").arg(version);
        return list;
    }();
    return entries;
}

const QStringList& Barcode_QR_EC_Level_Entries()
{
    static const QStringList entries { QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"),
        QStringLiteral("H") };
    return entries;
}

const QStringList& Barcode_DM_Format_Entries()
{
    static const QStringList entries {
        QStringLiteral("Auto"),
        QStringLiteral("C10X10"),
        QStringLiteral("C12X12"),
        QStringLiteral("C14X14"),
        QStringLiteral("C16X16"),
        QStringLiteral("C18X18"),
        QStringLiteral("C20X20"),
        QStringLiteral("C22X22"),
        QStringLiteral("C24X24"),
        QStringLiteral("C26X26"),
        QStringLiteral("C32X32"),
        QStringLiteral("C36X36"),
        QStringLiteral("C40X40"),
        QStringLiteral("C44X44"),
        QStringLiteral("C48X48"),
        QStringLiteral("C52X52"),
        QStringLiteral("C64X64"),
        QStringLiteral("C72X72"),
        QStringLiteral("C80X80"),
        QStringLiteral("C88X88"),
        QStringLiteral("C96X96"),
        QStringLiteral("C104X104"),
        QStringLiteral("C120X120"),
        QStringLiteral("C132X132"),
        QStringLiteral("C144X144"),
        QStringLiteral("C8X18"),
        QStringLiteral("C8X32"),
        QStringLiteral("C12X26"),
        QStringLiteral("C12X36"),
        QStringLiteral("C16X36"),
        QStringLiteral("C16X48"),
    };
    return entries;
}

const QStringList& Barcode_DM_Encoding_Entries()
{
    static const QStringList entries { QStringLiteral("Auto"), QStringLiteral("Ascii"), QStringLiteral("C40"),
        QStringLiteral("Text"), QStringLiteral("Base256") };
    return entries;
}

const QStringList& Barcode_DPI_Entries()
{
    static const QStringList entries { QStringLiteral("Auto"), QStringLiteral("Custom"), QStringLiteral("72"),
        QStringLiteral("150"), QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200") };
    return entries;
}
