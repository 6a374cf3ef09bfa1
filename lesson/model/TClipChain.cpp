#include "TClipChain.h"

namespace {
template <typename F, typename... Args> void Call(const F& hook, Args&&... args) {
    if (hook)
        hook(std::forward<Args>(args)...);
}
} // namespace

TClipChain::TClipChain(TLessonCursor& cursor, TMediaPlayer& player, QString streamDir, THooks hooks)
    : m_cursor(cursor), m_player(player), m_streamDir(std::move(streamDir)), m_hooks(std::move(hooks)) {}

void TClipChain::PlayCurrentClip() {
    const TClipOutline* clip = m_cursor.CurrentClipInfo();
    if (!clip)
        return;
    Call(m_hooks.LayOut, *clip);
    if (m_clipOpen) {
        m_player.Stop();
        m_player.Close();
    }
    m_clipOpen = true;
    m_player.SetFileName(ClipFile(*clip));
    Call(m_hooks.ShowPanel);
    // Opening sends no notice; the play does (at the clip's end); the switch
    // is then set so that the learner's next command sends one too.
    m_player.SetNotify(false);
    if (!m_player.Open()) {
        PlayerFailed(m_player.LastError());
        return;
    }
    m_player.Play();
    m_player.SetNotify(true);
}

void TClipChain::ApplyMarks(const TChainStep& step) {
    for (int row : step.MarkedRows)
        Call(m_hooks.RowMarked, row);
}

void TClipChain::NextClip() {
    const TChainStep step = m_cursor.NextClip();
    ApplyMarks(step);
    switch (step.Action) {
    case TChainStep::TAction::PlayClip:
        PlayCurrentClip();
        break;
    case TChainStep::TAction::GoToButton:
        Call(m_hooks.GoToButton, step.Page, step.Button);
        break;
    case TChainStep::TAction::TrainingComplete:
        Call(m_hooks.TrainingComplete);
        break;
    }
}

TChainStep TClipChain::ChooseButton(int page, int button) {
    if (m_player.Mode() == TMediaMode::Playing) {
        m_clipOpen = false;
        m_player.Stop();
    }
    const TChainStep step = m_cursor.GoToButton(page, button);
    ApplyMarks(step);
    if (step.Action == TChainStep::TAction::TrainingComplete)
        Call(m_hooks.TrainingComplete);
    return step;
}

void TClipChain::PlayerNotified() {
    switch (m_player.Mode()) {
    case TMediaMode::Stopped:
    case TMediaMode::Playing:
        if (m_clipOpen)
            NextClip();
        break;
    case TMediaMode::Open:
        m_player.Play();
        break;
    default:
        break;
    }
}

void TClipChain::PlayerFailed(const QString& text) {
    // The chain stops here; the learner goes on by choosing a button.
    m_clipOpen = false;
    Call(m_hooks.ShowError, text);
}

void TClipChain::PlayClicked() {
    if (m_clipOpen)
        m_player.Play();
    else
        PlayCurrentClip();
}

void TClipChain::PauseClicked() {
    if (m_player.Mode() != TMediaMode::Notready)
        m_player.Pause();
}

void TClipChain::StopClicked() {
    m_player.SetNotify(false);
    m_clipOpen = false;
    if (m_player.Mode() != TMediaMode::Notready)
        m_player.Stop();
    Call(m_hooks.HideClipArea);
}

void TClipChain::Leave() {
    if (m_player.Mode() != TMediaMode::Notready) {
        m_player.SetNotify(false);
        m_player.Stop();
        m_player.Close();
    }
    m_clipOpen = false;
}
