// Values read from one instrument are never ready to be written into
// another: when "Найти" or the speed search identifies an instrument of
// another serial number than the pages were read from, the fields that reads
// fill are emptied, so that a write is refused until the user reads again.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "tests/ui/simulated_window.h"

namespace {

class InstrumentChange : public SimulatedWindow {
 protected:
  InstrumentChange() : SimulatedWindow(20, sim::SimulatorOptions{}) {}

  void readEveryPage() {
    click("buttonReadNastrPrib");
    click("BitBtnReadNatrUst");
    click("BitBtnReadKoeff");
  }
  // The settings, setpoints and coefficients as read, or empty as at start.
  bool pagesHoldReadValues() const {
    const bool settings = !child<QLineEdit>("EditPribAdr")->text().isEmpty();
    const bool setpoints = !child<QLineEdit>("MaskEditY0")->text().trimmed().isEmpty();
    const bool coefficients = !child<QLineEdit>("EditKoeffR5")->text().isEmpty();
    EXPECT_EQ(settings, setpoints);
    EXPECT_EQ(settings, coefficients);
    return settings && setpoints && coefficients;
  }
};

TEST_F(InstrumentChange, AnotherSerialNumberEmptiesTheReadFieldsTheSameKeepsThem) {
  sim::Instrument& instrument = simulator_.instrument();
  // Read before any instrument was found: whose values they are is unknown.
  readEveryPage();
  ASSERT_TRUE(pagesHoldReadValues());
  click("BitBtnFindPrib");
  EXPECT_FALSE(pagesHoldReadValues());

  readEveryPage();
  click("BitBtnFindPrib");
  EXPECT_TRUE(pagesHoldReadValues()) << "the same instrument found again";

  instrument.setSerialNumber(instrument.serialNumber() + 1);
  click("BitBtnFindPrib");
  EXPECT_FALSE(pagesHoldReadValues());
  EXPECT_EQ(child<QComboBox>("comboboxBaud")->currentIndex(), -1);
  EXPECT_FALSE(child<QCheckBox>("CheckBoxFlagCanIout")->isChecked());
  EXPECT_EQ(child<QComboBox>("ComboBoxPolZap")->currentIndex(), 0);

  const uint64_t served = simulator_.requestsServed();
  display_.messages.clear();
  click("BitBtnWriteNastrPrib");
  click("BitBtnWriteNatrUst");
  click("BitBtnWriteKoeff");
  EXPECT_EQ(
      display_.messages,
      (std::vector<Message>{error("Неверный адрес"), error("Начало преобразования введено неверно"),
                            error("Ошибка в коэффициентах выходного тока")}));
  EXPECT_EQ(simulator_.requestsServed(), served) << "nothing written";

  // The speed search identifies too.
  readEveryPage();
  instrument.setSerialNumber(instrument.serialNumber() + 1);
  child<QCheckBox>("CheckBoxAutoFind")->setChecked(true);
  click("BitBtnFindPrib");
  EXPECT_FALSE(pagesHoldReadValues());
}

}  // namespace
