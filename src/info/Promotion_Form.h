#pragma once

#include "common/Form_Dialog.h"
#include "info/Promotion_Product.h"

#include <array>

namespace Ui {
class Promotion_Form;
}

// Presents one of the maker's other products, chosen by `software_type` before opening: its picture over
// the pattern, its texts, and buttons that write to the maker, ask about the product, order it or show
// its video. Every button but OK leaves the window open.
class Promotion_Form : public Form_Dialog<Ui::Promotion_Form> {
    Q_OBJECT
public:
    static Promotion_Form* defaultInstance()
    {
        static Promotion_Form* const instance = new Promotion_Form();
        return instance;
    }

    // Shows the product of `software_type` (any other kind keeps what was shown), runs the window modally
    // and returns its code; 0 when it could not run.
    int Open_Promotion_Window();

    QString software_type; // "S", "R" or "B"; kept from one opening to the next

    const std::array<Promotion_Product, 3>& products() const { return products_; }

    // Hands a link to the desktop's mail program or browser; an empty link opens nothing.
    static void Open_Link(const QString& link);

public slots:
    void OK_Clicked();
    void Mail_Clicked();
    void Contact_us_Clicked();
    void Order_Clicked();
    void youtube_Clicked();

private:
    explicit Promotion_Form(QWidget* parent = nullptr);
    void Show_Product(const Promotion_Product& product);
    // The product of `software_type`, or none for another kind.
    const Promotion_Product* shownKind() const;

    std::array<Promotion_Product, 3> products_;
};
