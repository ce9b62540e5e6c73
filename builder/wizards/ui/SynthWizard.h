#pragma once
// The SynthWizard: four pages that collect the chunk grid, the extents, the landscape group types
// that take part and optional altitude maps; Finish generates the synthetic scenery.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QSize>
#include <QWizard>

class CDibDoc;
class SynthWizardGridPage;
class SynthWizardExtentsPage;
class SynthWizardClassesPage;
class SynthWizardAltitudePage;

/// What the wizard needs from the window around it.
struct SynthWizardServices {
    /// Select Altitude Data Source for the project; the altitude sheet when left empty.
    std::function<void(QWidget* parent, CDibDoc& doc)> altitudeSources;
    /// Shows the scenery size and scale in the main window; may be left empty.
    std::function<void(double widthKm, double heightKm, double metresPerPixel)> showSceneryProperties;
    /// The seed of the generation's random sequence; the clock when not given.
    std::optional<std::uint32_t> seed;
};

class SynthWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { Page1, Page2, Page3, Page4 };
    /// Room for the tallest page with its wrapped explanation.
    static constexpr QSize kMinimumSize{540, 440};

    SynthWizard(CDibDoc& doc, SynthWizardServices services, QWidget* parent = nullptr);

    CDibDoc& document() { return doc_; }
    const SynthWizardServices& services() const { return services_; }

    /// The grid as page 1 last applied it.
    int gridColumns() const { return gridColumns_; }
    int gridRows() const { return gridRows_; }
    void setGrid(int columns, int rows)
    {
        gridColumns_ = columns;
        gridRows_ = rows;
    }

    SynthWizardGridPage* page1() const { return page1_; }
    SynthWizardExtentsPage* page2() const { return page2_; }
    SynthWizardClassesPage* page3() const { return page3_; }
    SynthWizardAltitudePage* page4() const { return page4_; }

private:
    CDibDoc& doc_;
    SynthWizardServices services_;
    int gridColumns_ = 1;
    int gridRows_ = 1;
    SynthWizardGridPage* page1_;
    SynthWizardExtentsPage* page2_;
    SynthWizardClassesPage* page3_;
    SynthWizardAltitudePage* page4_;
};

/// Shows the wizard modally over `parent`. Finish generates the scenery with the chosen classes and
/// water option and gives its result; Cancel gives false.
bool runSynthWizard(CDibDoc& doc, QWidget* parent, SynthWizardServices services = {});
