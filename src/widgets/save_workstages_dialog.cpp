#include "widgets/save_workstages_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A handful of frames is what a first try at a time-lapse usually wants.
constexpr int defaultSubsetCount = 5;

} // namespace

SaveWorkstagesDialog::SaveWorkstagesDialog(int total, WorkstageReduction reduction, QWidget* parent)
    : QDialog(parent)
    , m_total(std::max(total, 1))
{
    setWindowTitle(tr("Save Workstages"));
    m_all = new QRadioButton(tr("&All Workstages"), this);
    m_subset = new QRadioButton(tr("&Subset"), this);
    m_subsetCount = new QSpinBox(this);
    m_subsetCount->setRange(1, m_total);
    m_subsetCount->setValue(std::min(defaultSubsetCount, m_total));
    m_all->setChecked(true);
    auto* amountGroup = new QButtonGroup(this);
    amountGroup->addButton(m_all);
    amountGroup->addButton(m_subset);
    m_subsetCount->setEnabled(false);
    connect(m_subset, &QRadioButton::toggled, m_subsetCount, &QSpinBox::setEnabled);

    m_uniform = new QRadioButton(tr("&Uniform"), this);
    m_smart = new QRadioButton(tr("S&mart"), this);
    (reduction == WorkstageReduction::Smart ? m_smart : m_uniform)->setChecked(true);
    auto* reductionGroup = new QButtonGroup(this);
    reductionGroup->addButton(m_uniform);
    reductionGroup->addButton(m_smart);

    auto* subsetRow = new QHBoxLayout;
    subsetRow->addWidget(m_subset);
    subsetRow->addWidget(m_subsetCount);
    subsetRow->addStretch();
    auto* reductionRow = new QHBoxLayout;
    reductionRow->addWidget(m_uniform);
    reductionRow->addWidget(m_smart);
    reductionRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_all);
    layout->addLayout(subsetRow);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("Reduction Method:"), this));
    layout->addLayout(reductionRow);
    layout->addWidget(buttons);
}

int SaveWorkstagesDialog::count() const
{
    return m_all->isChecked() ? m_total : m_subsetCount->value();
}

WorkstageReduction SaveWorkstagesDialog::reduction() const
{
    return m_smart->isChecked() ? WorkstageReduction::Smart : WorkstageReduction::Uniform;
}

void SaveWorkstagesDialog::chooseSubset(int count)
{
    m_subset->setChecked(true);
    m_subsetCount->setValue(count);
}

void SaveWorkstagesDialog::chooseReduction(WorkstageReduction reduction)
{
    (reduction == WorkstageReduction::Smart ? m_smart : m_uniform)->setChecked(true);
}
