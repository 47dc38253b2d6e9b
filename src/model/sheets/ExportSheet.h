#pragma once

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLXLanguageTokenField;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace lexi {

// The export sheet's controls: a page per format, each with its info text, the text page's
// options, the filter of levels and tags, and the export and cancel buttons. It keeps the states
// of its controls between showings; QLXExportController gives it its texts and reads it.
class ExportSheet final : public QDialog
{
    Q_OBJECT

public:
    // The pages, in the order of the formats they export.
    enum Page { ownFormatPage, olderArchivePage, textPage, pageCount };

    explicit ExportSheet(QWidget *parent);

    QTabWidget *formats() const { return m_formats; }
    QLabel *infoLabel(Page page) const { return m_infoLabels.at(page); }
    QRadioButton *commaRow() const { return m_commaRow; }
    QRadioButton *tabRow() const { return m_tabRow; }
    QCheckBox *includeComments() const { return m_includeComments; }
    QCheckBox *includeDifficulty() const { return m_includeDifficulty; }
    QRadioButton *directionRow(int row) const { return m_directionRows.at(row); }
    QGroupBox *filterBox() const { return m_filterBox; }
    QCheckBox *levelBox(int level) const { return m_levelBoxes.at(level); }
    QLabel *tagLabel() const { return m_tagLabel; }
    QLXLanguageTokenField *tagField() const { return m_tagField; }
    QRadioButton *allRow() const { return m_allRow; }
    QRadioButton *anyRow() const { return m_anyRow; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QWidget *makeTextPage();
    QGroupBox *makeFilterBox();

    QTabWidget *m_formats;
    std::array<QLabel *, pageCount> m_infoLabels{};
    QRadioButton *m_commaRow = nullptr;
    QRadioButton *m_tabRow = nullptr;
    QCheckBox *m_includeComments = nullptr;
    QCheckBox *m_includeDifficulty = nullptr;
    std::array<QRadioButton *, 2> m_directionRows{};
    QGroupBox *m_filterBox = nullptr;
    std::array<QCheckBox *, 6> m_levelBoxes{};
    QLabel *m_tagLabel = nullptr;
    QLXLanguageTokenField *m_tagField = nullptr;
    QRadioButton *m_allRow = nullptr;
    QRadioButton *m_anyRow = nullptr;
    QPushButton *m_export;
    QPushButton *m_cancel;
};

} // namespace lexi
