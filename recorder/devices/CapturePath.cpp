// Start-up sequence, discovery of the input mixers and their capture lines, stereo-mix choice.
#include "recorder/devices/CapturePath.h"

#include "platform/mixer/MixerQueries.h"
#include "platform/mixer/StereoMixName.h"

#include <algorithm>
#include <utility>

const char* const CapturePath::kStereoDeviceMessage = "녹음을 위해서 스테레오 장치가 필요합니다.\r\n스테레오 "
                                                      "믹스를 사용 및 기본 장치로 설정해 주세요.\r\n사운드 "
                                                      "설정탭을 오픈합니다.";
const char* const CapturePath::kChosenSourceGoneMessage =
    "선택한 녹음 장치를 찾을 수 없어\r\n스테레오 믹스로 녹음합니다.";
const char* const CapturePath::kNoticeTitle = "알림";

namespace {

// The notice about the stereo device: OK alone (the notification box's layout 1), at this size.
constexpr int kNoticeOkOnly = 1;
constexpr int kNoticeWidth = 350;
constexpr int kNoticeHeight = 180;
// The notice that the chosen source has gone, at the size of the window's other notices.
constexpr int kGoneNoticeWidth = 300;
constexpr int kGoneNoticeHeight = 150;

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool EqualsIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return AsciiUpper(x) == AsciiUpper(y);
           });
}

// One boolean per item of the MUX `controlId`.
MIXERCONTROLDETAILS MuxDetails(uint32_t controlId, std::vector<MIXERCONTROLDETAILS_BOOLEAN>& items) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = static_cast<uint32_t>(items.size());
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    details.paDetails = items.data();
    return details;
}

} // namespace

CapturePath::CapturePath(ICapturePathHost& host, IVolumeSlider& slider, IMixerNotify* notifyTarget)
    : m_Host(host), m_Slider(slider), m_NotifyTarget(notifyTarget) {}

CapturePath::~CapturePath() {
    for (HMIXER handle : m_Handles)
        if (handle)
            mixerClose(handle);
}

bool CapturePath::IsInputMixerName(const std::u16string& productName) {
    // The last five characters, or the whole name when it is shorter.
    std::u16string tail = productName.size() > 5 ? productName.substr(productName.size() - 5) : productName;
    return EqualsIgnoringCase(tail, u"INPUT");
}

bool CapturePath::IsStereoMixName(const std::u16string& lineName) {
    return platform::IsStereoMixName(lineName);
}

bool CapturePath::IsMuxName(const std::u16string& controlName) {
    return EqualsIgnoringCase(controlName, u"MUX");
}

void CapturePath::PrepareCapturePath() {
    Prepare(true);
}

CapturePath::Recovery CapturePath::RecoverCapturePath(bool chosenMayStillAppear) {
    // The lines as the new server has them, selecting nothing yet.
    OpenMixers();
    ReadCaptureLines();
    const Choice choice = CurrentChoice();
    if (choice.kind == Choice::Chosen) {
        // The user's source is back: selected again (which moves every capture to it), its volume
        // and mute as the user left them.
        WriteMuxItem(choice.item);
        ConnectSlider();
        return Recovery::Done;
    }
    // A source that is not there yet may still come: devices can appear after their server.
    if (choice.kind != Choice::StereoMix && chosenMayStillAppear)
        return Recovery::Waiting;
    const bool chosenGone = choice.kind == Choice::Missing;
    if (chosenGone)
        SelectStereoMix(); // first, so that the start-up sequence finds the stereo mix's controls
    Prepare(false);
    if (chosenGone)
        m_Host.ShowNotification(kChosenSourceGoneMessage, kNoticeTitle, kNoticeOkOnly, kGoneNoticeWidth,
                                kGoneNoticeHeight);
    return Recovery::Done;
}

void CapturePath::Prepare(bool tellFailure) {
    m_bCaptureMixerMissing = !m_AnalogMute.Init(MIXER_OBJECTF_WAVEIN);
    if (m_bCaptureMixerMissing) {
        if (tellFailure) {
            m_Host.ShowNotification(kStereoDeviceMessage, kNoticeTitle, kNoticeOkOnly, kNoticeWidth,
                                    kNoticeHeight);
            m_Host.OpenSoundControlPanel();
        }
    } else {
        // The stereo mix is often muted out of the box; any non-zero mute state is cleared.
        uint32_t value = 0;
        if (m_AnalogMute.FindAnalogMute() && m_AnalogMute.GetMute(value) && value != 0)
            m_AnalogMute.SetMute(0);

        CVolumeCtrl destination;
        if (destination.Init(MIXER_OBJECTF_WAVEIN) &&
            destination.FindControl(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, MIXERCONTROL_CONTROLTYPE_MUTE) &&
            destination.GetMute(value) && value == 1)
            destination.SetMute(0);

        ConnectSlider();
    }
    FindInputMixers();
    // The capture volume follows the newly selected line: show that line's volume.
    RefreshSliderPosition();
}

void CapturePath::ConnectSlider() {
    m_CaptureVolume.Init(MIXER_OBJECTF_WAVEIN, m_NotifyTarget);
    m_CaptureVolume.FindControl(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, MIXERCONTROL_CONTROLTYPE_VOLUME);
    m_Slider.SetRange(static_cast<int>(m_CaptureVolume.Minimum()),
                      static_cast<int>(m_CaptureVolume.Maximum()));
    RefreshSliderPosition();
}

void CapturePath::RefreshSliderPosition() {
    uint32_t value = 0;
    if (m_CaptureVolume.GetValue(value))
        m_Slider.SetPosition(static_cast<int>(m_CaptureVolume.Maximum()) - static_cast<int>(value));
}

void CapturePath::OnVolumeSliderPressed() {
    // At the top the volume reads full, also when it is boosted above 100 %.
    uint32_t value = 0;
    m_bHoldingVolume = m_CaptureVolume.Maximum() > m_CaptureVolume.Minimum() &&
                       m_CaptureVolume.GetValue(value) && value >= m_CaptureVolume.Maximum();
}

void CapturePath::OnVolumeSliderMoved(int position, bool dragging) {
    if (dragging && m_bHoldingVolume)
        return;
    m_CaptureVolume.SetValue(static_cast<uint32_t>(static_cast<int>(m_CaptureVolume.Maximum()) - position));
}

void CapturePath::OnVolumeSliderReleased(int position) {
    // At the top this writes the value just read, which the mixer leaves as it is.
    if (std::exchange(m_bHoldingVolume, false))
        OnVolumeSliderMoved(position);
}

void CapturePath::OnMixerChange(HMIXER mixer, uint32_t message, uint32_t controlId) {
    // Only the slider's own control; with no volume control found there is nothing to show.
    if (message == MM_MIXM_CONTROL_CHANGE && mixer && mixer == m_CaptureVolume.Handle() &&
        m_CaptureVolume.Maximum() > m_CaptureVolume.Minimum() && controlId == m_CaptureVolume.ControlId())
        RefreshSliderPosition();
}

bool CapturePath::FindInputMixers() {
    OpenMixers();
    ListCaptureLines();
    return true;
}

void CapturePath::OpenMixers() {
    auto open = [this](uint32_t i) {
        mixerOpen(&m_Handles[i], i, reinterpret_cast<uintptr_t>(m_NotifyTarget), 0,
                  MIXER_OBJECTF_MIXER | (m_NotifyTarget ? CALLBACK_WINDOW : CALLBACK_NULL));
    };
    if (!m_bTablesBuilt) {
        m_bTablesBuilt = true;
        m_InputDevices.clear();
        const uint32_t count = mixerGetNumDevs();
        m_Caps.assign(count, MIXERCAPS{});
        m_Handles.assign(count, nullptr);
        for (uint32_t i = 0; i < count; ++i) {
            if (mixerGetDevCaps(i, &m_Caps[i], sizeof(MIXERCAPS)) != MMSYSERR_NOERROR)
                continue;
            if (IsInputMixerName(m_Caps[i].szPname))
                m_InputDevices.push_back({m_Caps[i].szPname, i});
            open(i);
        }
    } else {
        // Mixers that could not be opened then (no sound server yet) are opened now.
        for (uint32_t i = 0; i < m_Handles.size(); ++i)
            if (!m_Handles[i] && m_Caps[i].szPname[0] != 0)
                open(i);
    }
    if (!m_InputDevices.empty())
        m_SelectedInput = 0;
}

void CapturePath::ListCaptureLines() {
    ReadCaptureLines();
    SelectStereoMix();
}

void CapturePath::ReadCaptureLines() {
    if (m_SelectedInput < 0 || static_cast<size_t>(m_SelectedInput) >= m_InputDevices.size())
        return;
    const uint32_t device = m_InputDevices[static_cast<size_t>(m_SelectedInput)].index;
    HMIXER mixer = m_Handles[device];
    // Every listing starts afresh, so a second run neither repeats nor keeps stale entries.
    m_SourceLines.clear();
    m_CaptureControls.clear();
    m_StereoMixPosition = 0;
    m_bStereoMixFound = false;
    bool captureMark = false;
    for (uint32_t i = 0; i < m_Caps[device].cDestinations; ++i) {
        MIXERLINE destination{};
        destination.cbStruct = sizeof destination;
        destination.dwDestination = i;
        if (mixerGetLineInfo(AsMixerObject(mixer), &destination,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR ||
            !(destination.fdwLine & MIXERLINE_LINEF_ACTIVE))
            continue;
        if (destination.dwComponentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN)
            captureMark = true;
        if (captureMark)
            CollectMuxControls(mixer, destination.szName, destination.dwLineID, destination.cControls, true);
        for (uint32_t j = 0; j < destination.cConnections; ++j) {
            MIXERLINE source{};
            source.cbStruct = sizeof source;
            source.dwDestination = i;
            source.dwSource = j;
            if (mixerGetLineInfo(AsMixerObject(mixer), &source,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR)
                continue;
            if (!captureMark || m_SourceLines.size() >= kMaxSourceLines)
                continue;
            m_SourceLines.push_back(source.szName);
            if (IsStereoMixName(m_SourceLines.back())) {
                m_StereoMixPosition = m_SourceLines.size() - 1;
                m_bStereoMixFound = true;
            }
            CollectMuxControls(mixer, source.szName, source.dwLineID, source.cControls, false);
        }
    }
}

void CapturePath::CollectMuxControls(HMIXER mixer, const std::u16string& lineName, uint32_t lineId,
                                     uint32_t controlCount, bool onDestination) {
    for (const MIXERCONTROL& control : LineControls(mixer, lineId, controlCount)) {
        std::u16string name = control.szName;
        if (IsMuxName(name))
            m_CaptureControls.push_back({lineName + u"-" + name, control.dwControlID, onDestination});
    }
}

const CapturePath::CaptureControl* CapturePath::DestinationMux() const {
    if (m_SourceLines.empty() || m_SelectedInput < 0 ||
        static_cast<size_t>(m_SelectedInput) >= m_InputDevices.size())
        return nullptr;
    // The capture destination's own MUX, else the first one listed.
    auto mux = std::find_if(m_CaptureControls.begin(), m_CaptureControls.end(),
                            [](const CaptureControl& c) { return c.onDestination; });
    if (mux == m_CaptureControls.end())
        mux = m_CaptureControls.begin();
    return mux == m_CaptureControls.end() ? nullptr : &*mux;
}

HMIXER CapturePath::SelectedMixer() const {
    return m_Handles[m_InputDevices[static_cast<size_t>(m_SelectedInput)].index];
}

void CapturePath::SelectStereoMix() {
    const size_t n = m_SourceLines.size();
    // The user was just told that there is no stereo device: the first line would be a
    // microphone recorded in silence, so nothing is selected.
    if (n == 0 || (m_bCaptureMixerMissing && !m_bStereoMixFound))
        return;
    // The MUX lists its items in the reverse order of the source lines.
    WriteMuxItem(n - 1 - m_StereoMixPosition);
}

void CapturePath::WriteMuxItem(size_t item) {
    const CaptureControl* mux = DestinationMux();
    if (!mux || item >= m_SourceLines.size())
        return;
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(m_SourceLines.size());
    items[item].fValue = 1;
    MIXERCONTROLDETAILS details = MuxDetails(mux->controlId, items);
    mixerSetControlDetails(AsMixerObject(SelectedMixer()), &details,
                           MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

CapturePath::Choice CapturePath::CurrentChoice() const {
    const CaptureControl* mux = DestinationMux();
    if (!mux)
        return {Choice::Unknown};
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(m_SourceLines.size());
    MIXERCONTROLDETAILS details = MuxDetails(mux->controlId, items);
    // Fails too when the lines changed since they were read.
    if (mixerGetControlDetails(AsMixerObject(SelectedMixer()), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return {Choice::Unknown};
    auto selected = std::find_if(items.begin(), items.end(),
                                 [](const MIXERCONTROLDETAILS_BOOLEAN& item) { return item.fValue != 0; });
    // No item selected: the mixer's way of saying that the chosen line has gone.
    if (selected == items.end())
        return {Choice::Missing};
    const auto item = static_cast<size_t>(selected - items.begin());
    const bool stereoMix = m_bStereoMixFound && items.size() - 1 - item == m_StereoMixPosition;
    return {stereoMix ? Choice::StereoMix : Choice::Chosen, item};
}
