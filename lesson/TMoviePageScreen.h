#pragma once
// The movie page (2): one page of the open course at a time, its title in
// PageName, its buttons in MBX, and the clip area where the clips behind the
// current button play one after another; the clip buttons and the field
// buttons around it. The page owns the main window's clip player
// (MediaPlayer1) and answers its notices on every screen that plays a clip.
//
// What plays when is the lesson cursor's and the clip chain's business
// (lesson/model); this module moves values between them, the tables and the
// controls. The main window's Marks holds the marks of the run: the cursor
// restores them once, the directory window toggles them in place, and the
// chain's marks are written through to it.
#include <QTimer>
#include <functional>
#include <memory>

#include "shell/TScreenModule.h"

class TClipChain;
class TLabelEffect;
class TLessonCursor;
class TMovieButtonX;
class TMoviePanel;
class TQtMediaPlayer;
class TGifImage;
class TSkinButton;
class TMediaPlayer;
struct TClipOutline;

class TMoviePageScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TMoviePageScreen(TForm1& form);
    ~TMoviePageScreen() override;

    TMovieButtonX* MBX;
    TGifImage* Image1; // the page pointer, a child of MBX
    TLabelEffect* PageName;
    TSkinButton* BtnPlay;
    TSkinButton* btnPause;
    TSkinButton* btnStop;
    TSkinButton* DirectoryField;
    TSkinButton* TestField;
    TSkinButton* SearchField;
    TSkinButton* InteractField;
    QTimer Timer1; // one shot, 100 ms: starts the current button's first clip

    // The clip player; it paints into the main window's clip panel.
    TMediaPlayer& MediaPlayer1();

    // Where the test field leads; the test screens set it. Also the
    // training-complete window's test button.
    std::function<void()> OnTestField;
    // Fills the challenge window once per run and answers its number of rows
    // (the challenge part of Marks). Without it the rows are the open test's
    // simulation questions.
    std::function<int()> BuildChallengeList;

    void Enter() override; // ShowMoviePage
    void Leave() override; // HideMoviePage
    void GoToButton(int page, int button);
    void MBXActiveButtonChanged(QObject* sender, int index);
    void MBXMovePointer(QObject* sender, int left, int top);
    void Timer1Timer();
    void VCRClick(QObject* sender);
    void MediaPlayer1Notify();
    void FieldClick(QObject* sender);

    // The lesson cursor of the open course; null before the first showing.
    TLessonCursor* Cursor() const { return m_cursor.get(); }
    TClipChain* Chain() const { return m_chain.get(); }
    bool ChallengeListBuilt() const { return m_challengeListBuilt; }
    bool GlossaryListed() const { return m_glossaryListed; }

private:
    void OpenLessonSession();
    int ChallengeRows();
    void ListGlossary();
    void OpenCourse(int challengeRows);
    void FillButtons();
    void SelectDirectoryRow();
    void LayOut(const TClipOutline& clip);
    void RowMarked(int row);
    void TrainingComplete();
    void HideClipArea();
    void PlayerFailed(const QString& text);
    void SyncState();
    void ToggleWindow(QWidget* window);

    std::unique_ptr<TQtMediaPlayer> m_player;
    std::unique_ptr<TLessonCursor> m_cursor;
    std::unique_ptr<TClipChain> m_chain;
    bool m_challengeListBuilt = false;
    bool m_glossaryListed = false;
    int m_shownPage = 0; // the page whose buttons MBX shows
};
