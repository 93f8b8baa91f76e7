#pragma once

#include "model/hardwarecategory.h"

#include <QAbstractListModel>
#include <QList>

// The sidebar's category rows: the visible categories with their badges and
// which one is selected.
class CategoryListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        SymbolRole,
        CountRole,
        SelectedRole,
    };

    struct Row {
        HardwareCategory category = HardwareCategory::summary;
        int count = 0;

        friend bool operator==(const Row &, const Row &) = default;
    };

    explicit CategoryListModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // Same categories in the same order: only changed badges are announced;
    // otherwise the model is reset.
    void setRows(const QList<Row> &rows);
    void setSelected(HardwareCategory category);

    [[nodiscard]] const QList<Row> &rows() const { return m_rows; }
    [[nodiscard]] HardwareCategory selected() const { return m_selected; }

private:
    [[nodiscard]] int rowOf(HardwareCategory category) const;

    QList<Row> m_rows;
    HardwareCategory m_selected = HardwareCategory::summary;
};
