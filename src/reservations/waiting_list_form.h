#pragma once

#include "records/reservations.h"
#include "records/waiting_list.h"
#include "ui/form.h"

#include <vector>

class FlexGrid;
class QLabel;

// Form キャンセル待ち一覧: the customers still waiting, in the order they asked. Opened on time a
// write just freed, it lists those the freed time lets in; from the menu, everybody still waiting.
// `予約` books the chosen customer through the guarded write (a place another desk took meanwhile
// is refused, never overbooked), `取下げ` takes them off the list.
class キャンセル待ち一覧 : public Form {
public:
    // `freed`: the time just freed (none: every entry still waiting).
    explicit キャンセル待ち一覧(std::vector<records::ReservationSpan> freed = {});

    void Form_Load() override;
    // Lists what `freed` lets in, while the form is open already.
    void Offer(std::vector<records::ReservationSpan> freed);
    void 待ち一覧_Click();
    void 予約_Click();
    void 取下げ_Click();
    void 終了_Click();

private:
    // The entries as the database holds them now, the chosen one kept chosen while it is listed.
    void FillList();
    void ChooseRow(int row);
    const records::WaitingEntry* RequireChosen();
    // "2026/12/08 10:00～11:00 会議室A 山田太郎".
    QString EntryText(const records::WaitingEntry& entry) const;
    QString AbbrevOf(const QString& target) const;

    QLabel* 表示内容;
    FlexGrid* 待ち一覧;

    std::vector<records::ReservationSpan> freed_;
    std::vector<records::WaitingEntry> listed_;
    int chosenRow_ = 0; // 0: none
};
