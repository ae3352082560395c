#pragma once
#include "DataModule.h"

#include <QString>
#include <QStringList>

namespace korvan {

// How a line's F_TotalPrice follows its quantity, price and discount.
enum class LineAmountRule {
    QtyPriceRate, // quantity × price × discount (orders, receipts)
    QtyPrice,     // quantity × price; the discount does not count (returns)
    Typed,        // the amount is typed (invoices, payments)
};

// A header value a save requires: the message and the control that gets focus.
struct HeaderCheck {
    QString column;
    QString message;
    QString control;
};

// Which default price a new goods line takes.
enum class PriceLookup { None, Order, Receipt, Return };

// What differs between the five documents: tables, code series, the header
// columns a save writes, and a few switches. The store and the window read it.
struct DocumentKind {
    QString id;                 // "order", "receipt", "return", "invoice", "payment"
    DocumentSeries series;      // header table, code prefix, F_Flag
    QString linesTable;
    int operFlag = 0;           // header F_OperFlag; 0 = the header has none
    QStringList headerColumns;  // written from the document as typed
    QString supplierColumn;     // F_Client / F_CLTname
    QString remarkColumn;       // where un-auditing appends "反审"
    QString quantityTotalColumn; // F_amount / F_Amount; empty when none
    QString settledCodesColumn; // F_CGDcode on invoices and payments: the lines' codes as 'A','B'
    bool hasAuditDate = false;
    bool hasWarehouse = false;
    bool dropLinesWithoutGoods = false; // goods documents drop lines with a blank goods code at save
    bool goodsLines = true;     // goods lines (depotD/ddDepotD) or settlement lines (KPdepotD/cashPayD)
    LineAmountRule amountRule = LineAmountRule::QtyPriceRate;
    QList<HeaderCheck> requiredHeader; // checked in this order before a save
    QString deleteQuestion;     // followed by the code and "吗？"
    QString deleteAuditedMessage = QStringLiteral("此单据已经审核，不能再修改！");
    PriceLookup priceLookup = PriceLookup::None;

    static const DocumentKind &order();
    static const DocumentKind &receipt();
    static const DocumentKind &purchaseReturn();
    static const DocumentKind &invoice();
    static const DocumentKind &payment();
    static const DocumentKind *byId(const QString &id);
};

// The amount of a goods line under a rule: exact, rounded once to four decimals, ties to even.
Money lineAmount(LineAmountRule rule, double quantity, Money price, double rate);

} // namespace korvan
