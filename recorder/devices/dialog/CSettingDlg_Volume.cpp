// The volume page: device and line lists, value controls written to the mixer at once, change
// notifications, and the level bar fed by its own monitor capture.
#include "recorder/devices/dialog/CSettingDlg_Volume.h"

#include "recorder/devices/dialog/MulDiv.h"
#include "recorder/devices/dialog/VolumePageMixer.h"
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/SpectrumFeed.h"
#include "recorder/engine/Recorder.h"
#include "ui/AccessibleName.h"
#include "ui/ControlId.h"
#include "ui/Fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <optional>
#include <set>

using namespace CSettingDlg_VolumeIds;
using namespace volumepage;

namespace {

// Every control class except switches and custom controls: shown on a slider (or, for a MUX,
// on the source selector).
constexpr uint32_t kValueClassBits = 0x50000000u;
constexpr int kFullScale = 65535;
constexpr int kLevelBufferFrames = 1024;

// Where `text` goes in a list sorted as the classic sorted lists are: case-insensitively, equal
// names in arrival order.
template <typename TextAt> int SortedRow(int count, TextAt textAt, const QString& text) {
    int at = 0;
    while (at < count && QString::compare(textAt(at), text, Qt::CaseInsensitive) <= 0)
        ++at;
    return at;
}

void InsertSorted(QComboBox* box, const QString& text, uint32_t data) {
    const auto textAt = [box](int row) { return box->itemText(row); };
    box->insertItem(SortedRow(box->count(), textAt, text), text, data);
}

void AddLineEntry(QListWidget* list, const MIXERLINE& line) {
    auto* item = new QListWidgetItem(NameOf(line.szName));
    item->setData(Qt::UserRole, line.dwLineID);
    const auto textAt = [list](int row) { return list->item(row)->text(); };
    list->insertItem(SortedRow(list->count(), textAt, item->text()), item);
}

// The line identifier of the list's current entry, if any.
std::optional<uint32_t> CurrentLineId(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? std::optional<uint32_t>(item->data(Qt::UserRole).toUInt()) : std::nullopt;
}

void SetSliderQuietly(QSlider* slider, int position) {
    QSignalBlocker quiet(slider);
    slider->setValue(position);
}

} // namespace

const QString& CSettingDlg_Volume::HelpText() {
    static const QString text = QStringLiteral(
        "다음 사항을 체크해 주세요.\r(녹음할 음악을 재생해주세요.)\r1. 스테레오믹스 장치가 설치되어 있어야 "
        "합니다.\r2. 기본 사운드 조절\r-마스터볼륨을 조절합니다.\r-녹음볼륨을 조절합니다.\r-상단 볼륨바의 "
        "색상이 노란색 이상이어야 합니다.");
    return text;
}

CSettingDlg_Volume::CSettingDlg_Volume(QWidget* parent) : SettingsPage(parent) {
    setObjectName(QStringLiteral("IDD_SETTING_VOLUME"));

    m_DevicesLabel = new QLabel(QStringLiteral("디바이스 목록"), this);
    m_Devices = new QComboBox(this);
    QUOR_SET_ID(m_Devices, IDC_COMBO_DEVICE);
    m_DevicesLabel->setBuddy(m_Devices);

    m_Playback.lines = new QListWidget(this);
    QUOR_SET_ID(m_Playback.lines, IDC_LIST_PLAYBACK_LINES);
    m_Record.lines = new QListWidget(this);
    QUOR_SET_ID(m_Record.lines, IDC_LIST_RECORD_LINES);
    for (QListWidget* list : {m_Playback.lines, m_Record.lines}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideRight);
    }

    m_VolumeLabel = new QLabel(QStringLiteral("볼륨조절 : "), this);
    m_MuteLabel = new QLabel(QStringLiteral("음소거 : "), this);

    m_Playback.slider = new QSlider(Qt::Horizontal, this);
    QUOR_SET_ID(m_Playback.slider, IDC_SLIDER_PLAYBACK);
    m_Record.slider = new QSlider(Qt::Horizontal, this);
    QUOR_SET_ID(m_Record.slider, IDC_SLIDER_RECORD);
    m_Playback.check = new QCheckBox(QStringLiteral("Check1"), this);
    QUOR_SET_ID(m_Playback.check, IDC_CHK_PLAYBACK_SWITCH);
    m_Record.check = new QCheckBox(QStringLiteral("Check2"), this);
    QUOR_SET_ID(m_Record.check, IDC_CHK_RECORD_SWITCH);

    m_Source = new QComboBox(this);
    QUOR_SET_ID(m_Source, IDC_COMBO_SOURCE);
    // The captions say only which line a switch belongs to; the names say what each control does.
    m_Playback.lines->setAccessibleName(QStringLiteral("재생 라인"));
    m_Record.lines->setAccessibleName(QStringLiteral("녹음 라인"));
    m_Playback.slider->setAccessibleName(QStringLiteral("재생 볼륨"));
    m_Record.slider->setAccessibleName(QStringLiteral("녹음 볼륨"));
    m_Playback.check->setAccessibleName(QStringLiteral("재생 음소거"));
    m_Record.check->setAccessibleName(QStringLiteral("녹음 음소거"));
    m_Source->setAccessibleName(QStringLiteral("녹음 소스"));

    m_Help = new QLabel(QString(HelpText()).replace(QLatin1Char('\r'), QLatin1Char('\n')), this);
    m_Help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Help->setStyleSheet(QStringLiteral("color: #505050;"));
    m_Help->setFont(ui::CellHeightFont(QStringLiteral("돋움"), 13));

    m_Level = new CFrequencyGraph(this);
    QUOR_SET_ID(m_Level, IDC_STATIC_LEVEL);
    ui::SetAccessibleRole(m_Level, QAccessible::Chart);
    m_Level->setAccessibleName(QStringLiteral("입력 레벨"));

    connect(m_Devices, &QComboBox::currentIndexChanged, this, [this] { ListLines(); });
    connect(m_Playback.lines, &QListWidget::currentRowChanged, this,
            [this] { ShowLineControls(m_Playback); });
    connect(m_Record.lines, &QListWidget::currentRowChanged, this, [this] { ShowLineControls(m_Record); });
    for (Side* side : {&m_Playback, &m_Record}) {
        connect(side->slider, &QSlider::sliderReleased, this, [this, side] { WriteVolume(*side); });
        // Keys, the wheel and clicks on the track move the slider without a drag: write those too,
        // or the slider would show a volume the mixer does not have.
        connect(side->slider, &QSlider::valueChanged, this, [this, side] {
            if (!side->slider->isSliderDown())
                WriteVolume(*side);
        });
        connect(side->check, &QCheckBox::clicked, this, [this, side](bool on) { WriteSwitch(*side, on); });
    }
    connect(m_Source, &QComboBox::currentIndexChanged, this, &CSettingDlg_Volume::WriteSource);
    // A source or output that comes or goes, or a new default output, arrives as a few line
    // changes at once: the lists are read again once for all of them.
    m_Relist.setSingleShot(true);
    m_Relist.setInterval(30);
    connect(&m_Relist, &QTimer::timeout, this, &CSettingDlg_Volume::RelistKeepingChoice);

    ListDevices();
    m_Record.lines->show();
    m_Playback.lines->hide();
    ResetValueControls();
    StartLevelMeter();
}

CSettingDlg_Volume::~CSettingDlg_Volume() {
    // After mixerClose no notification arrives; those already posted die with this object.
    std::set<HMIXER> closed;
    for (HMIXER handle : m_Handles) {
        if (handle && closed.insert(handle).second)
            mixerClose(handle);
    }
    m_Handles.clear();
    m_Caps.clear();
    if (m_LevelCapture)
        m_LevelCapture->StopMonitor();
    m_LevelCapture.reset();
}

void CSettingDlg_Volume::resizeEvent(QResizeEvent*) {
    const int w = width();
    const int h = height();
    m_DevicesLabel->setGeometry(12, 9, 84, 20);
    m_Devices->setGeometry(98, 7, w - 108, 24);
    m_Level->setGeometry(QRect(QPoint(10, 35), QPoint(w - 20, 50)).adjusted(0, 0, -1, -1));
    const QRect lists(10, 60, 150, 102);
    m_Playback.lines->setGeometry(lists);
    m_Record.lines->setGeometry(lists);
    const int right = lists.right() + 12;
    m_VolumeLabel->setGeometry(right, 62, w - right - 10, 18);
    m_Playback.slider->setGeometry(right, 82, w - right - 14, 22);
    m_Record.slider->setGeometry(right, 82, w - right - 14, 22);
    m_MuteLabel->setGeometry(right, 112, w - right - 10, 18);
    m_Playback.check->setGeometry(right, 132, w - right - 10, 22);
    m_Record.check->setGeometry(right, 132, w - right - 10, 22);
    m_Source->setGeometry(w - 140, 170, 130, 24);
    m_Help->setGeometry(12, 200, w - 24, h - 202);
}

void CSettingDlg_Volume::ListDevices() {
    const uint32_t count = mixerGetNumDevs();
    QSignalBlocker quiet(m_Devices);
    m_Devices->clear();
    for (uint32_t i = 0; i < count; ++i) {
        std::optional<MIXERCAPS> caps = ReadCaps(i);
        if (!caps)
            break; // the list ends at the first device that cannot be read
        HMIXER handle = nullptr;
        if (mixerOpen(&handle, i, reinterpret_cast<uintptr_t>(static_cast<IMixerNotify*>(this)), 0,
                      MIXER_OBJECTF_MIXER | CALLBACK_WINDOW) != MMSYSERR_NOERROR)
            handle = nullptr;
        m_Caps.push_back(*caps);
        m_Handles.push_back(handle);
        InsertSorted(m_Devices, NameOf(caps->szPname), i);
    }
    if (m_Devices->count() > 0) {
        m_Devices->setCurrentIndex(0);
        ListLines();
    }
}

HMIXER CSettingDlg_Volume::ChosenMixer() const {
    const int entry = m_Devices->currentIndex();
    if (entry < 0)
        return nullptr;
    const uint32_t device = m_Devices->itemData(entry).toUInt();
    return device < m_Handles.size() ? m_Handles[device] : nullptr;
}

void CSettingDlg_Volume::ListLines() {
    ResetValueControls();
    QSignalBlocker quietPlayback(m_Playback.lines);
    QSignalBlocker quietRecord(m_Record.lines);
    QSignalBlocker quietSource(m_Source);
    m_Playback.lines->clear();
    m_Record.lines->clear();
    m_Source->clear();

    const int entry = m_Devices->currentIndex();
    HMIXER mixer = ChosenMixer();
    if (entry < 0 || !mixer)
        return;
    const uint32_t device = m_Devices->itemData(entry).toUInt();
    QListWidget* list = nullptr;
    for (uint32_t d = 0; d < m_Caps[device].cDestinations; ++d) {
        std::optional<MIXERLINE> destination = ReadDestination(mixer, d);
        if (!destination || !(destination->fdwLine & MIXERLINE_LINEF_ACTIVE))
            continue;
        if (destination->dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
            list = m_Playback.lines;
        else if (destination->dwComponentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN)
            list = m_Record.lines;
        else if (!list)
            return; // a device that starts with another kind of destination shows no lines
        m_Playback.lines->setVisible(list == m_Playback.lines);
        m_Record.lines->setVisible(list == m_Record.lines);
        ListDestination(mixer, *destination, list);
    }
}

void CSettingDlg_Volume::ListDestination(HMIXER mixer, const MIXERLINE& destination, QListWidget* list) {
    AddLineEntry(list, destination);
    const bool recording = list == m_Record.lines;
    QStringList sourceNames;
    for (uint32_t s = 0; s < destination.cConnections; ++s) {
        std::optional<MIXERLINE> source = ReadSource(mixer, destination.dwDestination, s);
        if (!source)
            continue;
        if (recording)
            sourceNames << NameOf(source->szName);
        if (!ReadControls(mixer, *source).empty())
            AddLineEntry(list, *source);
    }
    if (!recording)
        return;
    // Entry k of the selector is MUX item k. The MUX lists its items in its own order (the
    // reverse of the source lines), so the entries take the MUX's item names: the name chosen is
    // the source that gets selected.
    if (std::optional<MIXERCONTROL> mux = FindControl(mixer, destination, MIXERCONTROL_CONTROLTYPE_MUX)) {
        const std::vector<QString> itemNames = ReadItemNames(mixer, *mux);
        if (!itemNames.empty())
            sourceNames = QStringList(itemNames.begin(), itemNames.end());
    }
    m_Source->addItems(sourceNames);
}

void CSettingDlg_Volume::ResetValueControls() {
    m_Playback.volumeId = m_Playback.switchId = 0;
    m_Record.volumeId = m_Record.switchId = 0;
    m_SourceMuxId = 0;
    for (QWidget* control : {static_cast<QWidget*>(m_Source), static_cast<QWidget*>(m_Playback.slider),
                             static_cast<QWidget*>(m_Playback.check), static_cast<QWidget*>(m_Record.slider),
                             static_cast<QWidget*>(m_Record.check)})
        control->hide();
}

void CSettingDlg_Volume::ShowLineControls(Side& side) {
    ResetValueControls();
    QListWidgetItem* entry = side.lines->currentItem();
    HMIXER mixer = ChosenMixer();
    if (!entry || !mixer)
        return;
    std::optional<MIXERLINE> line = ReadLine(mixer, entry->data(Qt::UserRole).toUInt());
    if (!line)
        return;
    const bool recording = &side == &m_Record;
    // In the driver's order: a later control of the same kind replaces an earlier one.
    for (const MIXERCONTROL& control : ReadControls(mixer, *line)) {
        if (!(control.dwControlType & kValueClassBits)) {
            ShowSwitch(side, control, entry->text());
            continue;
        }
        if (recording) {
            side.check->hide();
            if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX) {
                ShowSource(control);
                continue;
            }
        }
        ShowVolume(side, control);
    }
}

void CSettingDlg_Volume::ShowVolume(Side& side, const MIXERCONTROL& control) {
    side.volumeId = control.dwControlID;
    {
        QSignalBlocker quiet(side.slider);
        side.slider->setRange(0, static_cast<int>(std::min<uint32_t>(control.Bounds.dwMaximum, kFullScale)));
    }
    side.slider->show();
    ReadSliderFromMixer(side.slider, side.volumeId);
}

void CSettingDlg_Volume::ReadSliderFromMixer(QSlider* slider, uint32_t controlId) {
    if (std::optional<uint32_t> value = ReadValue(ChosenMixer(), controlId))
        SetSliderQuietly(slider, MulDiv(static_cast<int32_t>(std::min<uint32_t>(*value, kFullScale)),
                                        slider->maximum(), kFullScale));
}

void CSettingDlg_Volume::ShowSwitch(Side& side, const MIXERCONTROL& control, const QString& caption) {
    side.check->setText(caption);
    side.check->setAccessibleDescription(caption);
    side.check->show();
    side.switchId = control.dwControlID;
    if (std::optional<uint32_t> value = ReadValue(ChosenMixer(), side.switchId))
        side.check->setChecked(*value != 0);
}

void CSettingDlg_Volume::ShowSource(const MIXERCONTROL& control) {
    m_SourceMuxId = control.dwControlID;
    m_Source->show();
    ShowSelectedSource(ReadItems(ChosenMixer(), control));
}

void CSettingDlg_Volume::ShowSelectedSource(const std::vector<uint32_t>& items) {
    if (items.empty())
        return;
    // No item selected: the chosen source has gone, and no entry is shown as chosen.
    auto selected = std::find_if(items.begin(), items.end(), [](uint32_t v) { return v != 0; });
    const int entry = selected == items.end() ? -1 : static_cast<int>(selected - items.begin());
    QSignalBlocker quiet(m_Source);
    m_Source->setCurrentIndex(entry < m_Source->count() ? entry : -1);
}

void CSettingDlg_Volume::WriteVolume(const Side& side) {
    if (side.slider->isHidden())
        return;
    WriteValue(ChosenMixer(), side.volumeId,
               static_cast<uint32_t>(MulDiv(side.slider->value(), kFullScale, side.slider->maximum())));
}

void CSettingDlg_Volume::WriteSwitch(const Side& side, bool on) {
    WriteValue(ChosenMixer(), side.switchId, on ? 1u : 0u);
}

void CSettingDlg_Volume::WriteSource(int entry) {
    if (entry < 0 || m_Source->isHidden())
        return;
    // The entries may be a moment behind the server: entry k is written as MUX item k only while
    // the MUX names its items as the entries do; else the lists are read again and the source
    // named is looked up there.
    if (!SourceEntriesCurrent()) {
        const QString chosen = m_Source->itemText(entry);
        RelistKeepingChoice();
        entry = m_Source->findText(chosen, Qt::MatchExactly);
        if (entry < 0 || m_Source->isHidden())
            return;
        QSignalBlocker quiet(m_Source);
        m_Source->setCurrentIndex(entry);
    }
    std::vector<uint32_t> choice(static_cast<size_t>(m_Source->count()), 0u);
    choice[static_cast<size_t>(entry)] = 1u;
    WriteItems(ChosenMixer(), m_SourceMuxId, choice);
}

bool CSettingDlg_Volume::SourceEntriesCurrent() const {
    MIXERCONTROL mux{};
    mux.dwControlID = m_SourceMuxId;
    mux.cMultipleItems = static_cast<uint32_t>(m_Source->count());
    const std::vector<QString> names = ReadItemNames(ChosenMixer(), mux);
    if (names.size() != static_cast<size_t>(m_Source->count()))
        return false;
    for (int k = 0; k < m_Source->count(); ++k)
        if (names[static_cast<size_t>(k)] != m_Source->itemText(k))
            return false;
    return true;
}

void CSettingDlg_Volume::RelistKeepingChoice() {
    m_Relist.stop();
    QListWidget* list = m_Record.lines->isHidden() ? m_Playback.lines : m_Record.lines;
    const std::optional<uint32_t> current = CurrentLineId(list);
    ListLines();
    if (!current || list->isHidden())
        return;
    // The same line, found by its identifier; its controls (and the source selector, showing
    // what the MUX has selected) are read afresh.
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toUInt() == *current) {
            list->setCurrentRow(row);
            return;
        }
    }
}

void CSettingDlg_Volume::OnMixerNotify(HMIXER mixer, uint32_t message, uint32_t id) {
    QMetaObject::invokeMethod(
        this,
        [this, mixer, message, id] {
            if (message == MM_MIXM_CONTROL_CHANGE)
                RefreshControl(mixer, id);
            else if (message == MM_MIXM_LINE_CHANGE && mixer == ChosenMixer())
                m_Relist.start();
        },
        Qt::QueuedConnection);
}

void CSettingDlg_Volume::RefreshControl(HMIXER mixer, uint32_t controlId) {
    if (mixer != ChosenMixer())
        return;
    // Identifiers are 0 while unset and 0 can be a real control: only controls on show count.
    for (Side* side : {&m_Playback, &m_Record}) {
        if (!side->slider->isHidden() && side->volumeId == controlId)
            ReadSliderFromMixer(side->slider, controlId);
        if (!side->check->isHidden() && side->switchId == controlId) {
            if (std::optional<uint32_t> value = ReadValue(mixer, controlId))
                side->check->setChecked(*value != 0);
        }
    }
    if (!m_Source->isHidden() && m_SourceMuxId == controlId) {
        MIXERCONTROL mux{};
        mux.dwControlID = controlId;
        mux.cMultipleItems = static_cast<uint32_t>(m_Source->count());
        ShowSelectedSource(ReadItems(mixer, mux));
    }
}

void CSettingDlg_Volume::StartLevelMeter() {
    m_Level->SetMode(CFrequencyGraph::kModeLevel);
    m_LevelCapture = std::make_unique<Recorder>(kLevelBufferFrames);
    // No message when the capture cannot start: the bar just stays dark.
    if (m_LevelCapture->OpenMonitor() != MMSYSERR_NOERROR)
        return;
    m_LevelCapture->SetMonitorCallback(m_Level, &SpectrumFeed);
    m_LevelCapture->StartMonitor();
}
