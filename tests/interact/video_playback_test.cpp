// Playing chosen content: the application on the demo project (headless backend, real media
// player with silent audio). The poll timer runs on the headless clock, which the tests move;
// the player runs in real time, so every wait for it is a bounded poll on what it reports.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "data/content_item.h"
#include "data/region_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/media/detail/video_windows.h"
#include "platform/media/video_window.h"
#include "platform/pieces.h"
#include "platform/windowing/win_api.h"
#include "support/files.h"
#include "support/media_clips.h"
#include "support/process_status.h"
#include "support/scratch_folder.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Content of the demo project the tests play (ids as in demo/Harbour.xml).
constexpr int kClip = 1;     // a one-second clip, named "Video\ITEM01.MP4" in the project
constexpr int kMissing = 2;  // names a file that does not exist
constexpr int kCorrupt = 3;  // names a file of noise

using testsupport::ReadAll;

fs::path ScratchRoot() { return testsupport::RunScratch().Root(); }

// A one-second 16:9 clip with sound; made once per run.
const fs::path& ClipFile() {
  static const fs::path path = testsupport::MakeClip(ScratchRoot() / "clip.mp4", "320x180");
  return path;
}

// Ten seconds of tone as an mp3, with a flat green cover picture when `art` is set.
fs::path ToneFile(bool art) {
  const fs::path p = ScratchRoot() / (art ? "tone_art.mp3" : "tone.mp3");
  if (fs::exists(p)) return p;
  if (!art) return testsupport::MakeTone(p, 10);
  const std::string picture =
      testsupport::MakePicture(ScratchRoot() / "art.png", "0x10E010", "160x120");
  return picture.empty() ? fs::path() : fs::path(testsupport::MakeTone(p, 10, picture));
}

// Ten seconds of picture as a raw stream, as a camera records it: it never says its length.
fs::path LiveRecording() {
  const fs::path p = ScratchRoot() / "live.h264";
  const std::string cmd =
      "ffmpeg -loglevel error -nostdin -y -f lavfi -i testsrc=size=160x120:rate=25 -t 10 "
      "-c:v libx264 -f h264 '" +
      p.string() + "'";
  return std::system(cmd.c_str()) == 0 ? p : fs::path();
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// A copy of the demo project with one user, whose first three items name the short clip (in
// the spelling of a project written elsewhere), a missing file and a corrupt one.
fs::path MakeProject() {
  static int serial = 0;
  const fs::path dir = ScratchRoot() / ("demo" + std::to_string(++serial));
  fs::copy(fs::path(CORVANE_SOURCE_DIR) / "demo", dir, fs::copy_options::recursive);
  fs::copy_file(ClipFile(), dir / "video" / "item01.mp4", fs::copy_options::overwrite_existing);
  fs::remove(dir / "video" / "item02.mp4");
  {
    std::ofstream noise(dir / "video" / "item03.mp4", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 8192; ++i) noise.put(static_cast<char>((i * 7919 + 13) & 0xFF));
  }
  std::string project = ReadAll(dir / "Harbour.xml");
  Replace(project, "<filename>video/item01.mp4</filename>",
          "<filename>Video\\ITEM01.MP4</filename>");
  std::ofstream(dir / "Harbour.xml", std::ios::binary | std::ios::trunc) << project;
  std::ofstream(dir / "HarbourUsers.xml", std::ios::binary | std::ios::trunc)
      << "<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n<user_context>\n"
         "\t<user_id>0</user_id>\n\t<username>Tester</username>\n\t<duration>0.00</duration>\n"
         "</user_context>\n</user_list>\n";
  return dir / "Harbour.xml";
}

// Keeps a copy of every picture put on screen, passing it on to the headless presentation.
class PresentRecorder : public platform::PresentPiece {
 public:
  explicit PresentRecorder(platform::PresentPiece* inner) : m_inner(inner) {}
  bool Open(HWND hwnd, int w, int h) override { return m_inner->Open(hwnd, w, h); }
  void Close() override { m_inner->Close(); }
  void Refresh() override { m_inner->Refresh(); }
  void Present(const void* pixels, int w, int h, int pitch) override {
    m_inner->Present(pixels, w, h, pitch);
    ++presents;
    if (presents == 1)
      firstBottomRow.assign(
          static_cast<const uint32_t*>(pixels) + static_cast<size_t>(h - 4) * (pitch / 4),
          static_cast<const uint32_t*>(pixels) + static_cast<size_t>(h - 4) * (pitch / 4) + w);
    width = w;
    height = h;
    last.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      std::memcpy(&last[static_cast<size_t>(y) * w],
                  static_cast<const uint8_t*>(pixels) + y * pitch, static_cast<size_t>(w) * 4);
    }
  }
  DWORD Pixel(int x, int y) const { return last[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
  bool RowIsBlack(int y) const {
    for (int x = 0; x < width; ++x)
      if (Pixel(x, y) != 0) return false;
    return true;
  }

  int presents = 0;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> last;
  std::vector<uint32_t> firstBottomRow;  // of the first picture since presents was last 0

 private:
  platform::PresentPiece* m_inner;
};

using testsupport::ProcessStatus;

// Resident memory in kB, once the allocator has handed back what it holds free: the player's
// threads leave freed blocks in arenas of their own, which is not memory kept alive.
long ResidentKb() {
  malloc_trim(0);
  return ProcessStatus("VmRSS");
}

// Bytes the program holds allocated, wherever the allocator keeps them.
long InUseKb() {
  const struct mallinfo2 mi = mallinfo2();
  return static_cast<long>((mi.uordblks + mi.hblkhd) / 1024);
}

class VideoPlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ClipFile().empty()) << "ffmpeg could not make the test clip";
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    m_folder = cwd;
    apptest::ResetAll();
    recorder = std::make_unique<PresentRecorder>(platform::Active().present);
    m_headlessPresent = platform::Active().present;
    platform::Active().present = recorder.get();

    const fs::path project = MakeProject();
    m_projectFolder = project.parent_path();
    headless::QueueFileDialogAnswer(project.string());
    app = std::make_unique<CPortraitApp>(apptest::ProgramConfig());
    ASSERT_EQ(app->CreateMainWindow(), 0);
    ASSERT_EQ(app->OpenDisplay(), 0);
    ASSERT_EQ(app->OnInit(), 0);
    ASSERT_EQ(app->CreateSurfaces(&app->m_display, app->m_instance), 0);
    ASSERT_EQ(app->RestoreSurfaces(&app->m_display, app->m_instance), 0);
    app->m_timer.StartTimer(app->m_config.m_frameRate);
    for (int i = 0; i < 5 && (app->m_startupPending || app->m_model == nullptr); ++i) Frame();
    ASSERT_NE(app->m_model, nullptr);
    model = app->m_model;
    ASSERT_EQ(app->m_mode, MODE_USER_LIST);
    Tap(330, 442);  // confirm the one user: the map view
    ASSERT_EQ(app->m_mode, MODE_MAP);
    ASSERT_NE(model->m_currentUser, nullptr);
    Frame();
  }

  void TearDown() override {
    if (app) {
      app->CloseDisplay();
      app->CloseWindow();
      apptest::DrainMessages();
      app.reset();
    }
    platform::Active().present = m_headlessPresent;
    ASSERT_EQ(chdir(m_folder.c_str()), 0);
    std::error_code ec;
    fs::remove_all(m_projectFolder, ec);
  }

  // One pass of the frame loop: every waiting message (which also shows new video frames),
  // then one frame step, which moves the clock on by a frame.
  void Frame() { apptest::Pass(*app); }

  void Tap(int x, int y) {
    headless::InjectMouseDown(x, y);
    headless::InjectMouseUp(x, y);
    apptest::DrainMessages();
  }

  // Polls the player through the message loop until done() holds; false after `limit`.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return testsupport::WaitUntil(
        [&] {
          apptest::DrainMessages();
          return done();
        },
        limit, std::chrono::milliseconds(2));
  }

  CContentItem* Item(int id) {
    return static_cast<CContentItem*>(model->m_contentList->FindById(id));
  }
  CRegionItem* RegionOf(const CContentItem* item) {
    return static_cast<CRegionItem*>(model->m_regionList->FindById(item->m_regionId));
  }
  // Points item `id` at a file of the test's own.
  void UseFile(int id, const fs::path& file) {
    ASSERT_FALSE(file.empty());
    CContentItem* item = Item(id);
    ASSERT_NE(item, nullptr);
    std::snprintf(item->m_filename, sizeof item->m_filename, "%s", file.c_str());
  }
  // Pixels of the progress track's filled part (bottom row of the track), in `colour`.
  int TrackFill(DWORD colour) const {
    int n = 0;
    for (int x = 0; x < recorder->width; ++x)
      if (recorder->Pixel(x, recorder->height - 4) == colour) ++n;
    return n;
  }
  bool Near(DWORD a, DWORD b, int tolerance) const {
    for (int shift : {0, 8, 16}) {
      if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
          tolerance)
        return false;
    }
    return true;
  }
  int ScreenX(double mapX) const { return static_cast<int>(mapX) - model->m_viewRect.left; }
  int ScreenY(double mapY) const { return static_cast<int>(mapY) - model->m_viewRect.top; }

  // Walks the user into the item's region, lets a frame make its content available and taps
  // the item's icon.
  void PlayByTap(int id) {
    CContentItem* item = Item(id);
    ASSERT_NE(item, nullptr);
    if (!item->m_inActiveRegion) {
      CRegionItem* region = RegionOf(item);
      ASSERT_NE(region, nullptr);
      Tap(ScreenX(region->m_screenX), ScreenY(region->m_screenY));
      Frame();
      ASSERT_TRUE(item->m_inActiveRegion);
    }
    Tap(ScreenX(item->m_screenX), ScreenY(item->m_screenY));
    ASSERT_TRUE(model->IsVideoPlaying());
  }

  LRESULT End() { return SendMessageA(app->m_videoWindow, MCIWNDM_GETEND, 0, 0); }
  LRESULT Position() { return SendMessageA(app->m_videoWindow, MCIWNDM_GETPOSITIONA, 0, 0); }
  // The window holding the mouse capture (asked by taking it and giving it back).
  HWND Captured() {
    HWND held = SetCapture(app->m_hWnd);
    if (held != nullptr) {
      SetCapture(held);
    } else {
      ReleaseCapture();
    }
    return held;
  }
  bool TimerPending() {
    MSG msg;
    return PeekMessageA(&msg, app->m_hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
  }
  bool BlittedFrom(const CGapiSurface* s) {
    for (const headless::DrawCall& c : headless::DrawCalls())
      if (c.source == s) return true;
    return false;
  }
  bool MapBlitted() { return BlittedFrom(model->m_mapSurface); }
  // The last picture on screen is the back buffer as drawn.
  bool ScreenShowsBackBuffer() {
    CGapiSurface* back = headless::BackBuffer();
    if (back == nullptr || recorder->width != 800 || recorder->height != 600) return false;
    for (int y = 0; y < 600; y += 7)
      for (int x = 0; x < 800; x += 7)
        if (recorder->Pixel(x, y) != back->GetPixel(x, y)) return false;
    return true;
  }

  std::unique_ptr<PresentRecorder> recorder;
  std::unique_ptr<CPortraitApp> app;
  CPortrait* model = nullptr;

 protected:
  fs::path m_projectFolder;

 private:
  std::string m_folder;
  platform::PresentPiece* m_headlessPresent = nullptr;
};

TEST_F(VideoPlaybackTest, PlayedToItsEndItIsClosedByThePollWithinHalfASecond) {
  PlayByTap(kClip);
  EXPECT_STREQ(model->m_videoFile, "Video\\ITEM01.MP4");  // played as found, kept as written
  EXPECT_EQ(app->m_drawing, 0);
  EXPECT_EQ(Captured(), app->m_hWnd);
  ASSERT_NE(app->m_videoWindow, nullptr);
  EXPECT_EQ(platform::LiveVideoPlayers(), 1);

  // The headless clock follows the media: it moves on in poll periods, never ahead of the
  // position the player reports.
  const uint32_t start = headless::Clock();
  LRESULT end = 0;
  bool finished = WaitFor(
      [&] {
        if (!model->IsVideoPlaying()) return true;
        end = End();
        if (static_cast<LRESULT>(headless::Clock() - start) <= Position()) {
          headless::AdvanceClock(500);
          apptest::DrainMessages();
        }
        return !model->IsVideoPlaying();
      },
      std::chrono::seconds(30));
  ASSERT_TRUE(finished) << "the poll never ended the playback";
  const uint32_t elapsed = headless::Clock() - start;
  EXPECT_GE(end, 900);
  EXPECT_LE(end, 1100);
  EXPECT_LE(elapsed, static_cast<uint32_t>(end) + 500);

  EXPECT_EQ(app->m_drawing, 1);
  EXPECT_EQ(Captured(), nullptr);
  EXPECT_EQ(platform::LiveVideoPlayers(), 0);
  headless::AdvanceClock(2000);
  EXPECT_FALSE(TimerPending()) << "the poll that ended the playback stops its timer";

  headless::ClearDrawCalls();
  const int flips = headless::FlipCount();
  Frame();
  EXPECT_EQ(headless::FlipCount(), flips + 1);
  EXPECT_TRUE(MapBlitted());
  EXPECT_TRUE(ScreenShowsBackBuffer());
}

TEST_F(VideoPlaybackTest, ATapEndsPlaybackAtOnceAndTheNextFrameShowsTheMapAgain) {
  PlayByTap(kClip);
  CRegionItem* region = RegionOf(Item(kClip));
  ASSERT_TRUE(region->m_active);
  // Far from every region: a drawn frame would leave the region at once.
  model->m_userPos.Set(2, 2);

  headless::ClearDrawCalls();
  const int flips = headless::FlipCount();
  const int presents = recorder->presents;
  ASSERT_TRUE(WaitFor(
      [&] {
        Frame();
        return recorder->presents > presents + 2;
      },
      std::chrono::seconds(20)))
      << "no video frames on screen";
  EXPECT_EQ(headless::FlipCount(), flips);
  EXPECT_TRUE(headless::DrawCalls().empty());
  EXPECT_TRUE(region->m_active) << "the region test ran during playback";

  // The 16:9 video is letterboxed into the 4:3 picture: bars above and below, video between.
  ASSERT_EQ(recorder->width, 800);
  ASSERT_EQ(recorder->height, 600);
  EXPECT_TRUE(recorder->RowIsBlack(10));
  EXPECT_TRUE(recorder->RowIsBlack(570));  // below it the progress bar
  EXPECT_FALSE(recorder->RowIsBlack(300));
  EXPECT_FALSE(ScreenShowsBackBuffer());

  // Over the exit button: during playback it only ends the video.
  Tap(790, 10);
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(app->m_drawing, 1);
  EXPECT_EQ(app->m_quit, 0);
  EXPECT_EQ(Captured(), nullptr);
  EXPECT_EQ(platform::LiveVideoPlayers(), 0);

  Frame();
  EXPECT_EQ(headless::FlipCount(), flips + 1);
  EXPECT_TRUE(MapBlitted());
  EXPECT_TRUE(ScreenShowsBackBuffer());
  EXPECT_FALSE(region->m_active);

  // The tap stopped the poll's timer too.
  headless::AdvanceClock(1000);
  EXPECT_FALSE(TimerPending());
  Frame();
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(app->m_drawing, 1);
}

// The progress bar never holds up the first picture: it comes with the second.
TEST_F(VideoPlaybackTest, TheProgressBarWaitsForTheSecondPicture) {
  PlayByTap(kClip);
  recorder->presents = 0;
  ASSERT_TRUE(WaitFor([&] { return recorder->presents >= 3; }, std::chrono::seconds(20)));
  ASSERT_EQ(recorder->firstBottomRow.size(), 800u);
  // The 16:9 clip leaves the bottom rows black; the bar's track lies across them.
  for (uint32_t p : recorder->firstBottomRow) ASSERT_EQ(p & 0xFFFFFF, 0u);
  EXPECT_FALSE(recorder->RowIsBlack(596));
}

// The menu cannot be seen over the media: its keys do nothing then, and Escape ends the
// playback as a tap does instead of opening the menu beneath.
TEST_F(VideoPlaybackTest, MenuKeysDoNothingDuringPlaybackAndEscapeEndsIt) {
  PlayByTap(kClip);
  const int cursor = model->m_menuCursor;
  for (UINT vk : {VK_RIGHT, VK_DOWN, VK_LWIN, VK_RETURN, VK_F1}) {
    headless::InjectKeyDown(vk);
    headless::InjectKeyUp(vk);
  }
  Frame();
  EXPECT_TRUE(model->IsVideoPlaying());
  EXPECT_FALSE(model->m_menuOpen);
  EXPECT_EQ(model->m_menuCursor, cursor);
  EXPECT_EQ(app->m_mode, MODE_MAP);

  headless::InjectKeyDown(VK_ESCAPE);
  headless::InjectKeyUp(VK_ESCAPE);
  apptest::DrainMessages();
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(app->m_drawing, 1);
  EXPECT_EQ(Captured(), nullptr);
  EXPECT_EQ(platform::LiveVideoPlayers(), 0);
  headless::AdvanceClock(1000);
  EXPECT_FALSE(TimerPending()) << "Escape stops the poll's timer";
  Frame();
  EXPECT_FALSE(model->m_menuOpen);
  EXPECT_TRUE(ScreenShowsBackBuffer());
}

TEST_F(VideoPlaybackTest, MissingAndCorruptFilesEndAtTheFirstPoll) {
  const struct {
    int id;
    const char* file;  // null: as the project names it
    bool folderGone;   // the current folder is removed first
  } cases[] = {{kMissing, nullptr, false},
               {kCorrupt, nullptr, false},
               // A name that finds no file never reaches the player, which would take this
               // one for a source of its own and play ten seconds of tone; without a current
               // folder it cannot even be made an absolute name.
               {kMissing, "av://lavfi:sine=duration=10", true}};
  for (const auto& c : cases) {
    const int id = c.id;
    SCOPED_TRACE(c.file != nullptr ? c.file : std::to_string(id));
    if (c.file != nullptr)
      std::snprintf(Item(id)->m_filename, sizeof Item(id)->m_filename, "%s", c.file);
    if (c.folderGone) {
      const fs::path gone = ScratchRoot() / "gone";
      fs::create_directories(gone);
      ASSERT_EQ(chdir(gone.c_str()), 0);
      fs::remove(gone);
    }
    PlayByTap(id);
    // The player gives up in its own time; until then it reports an end ahead.
    ASSERT_TRUE(WaitFor([&] { return End() == 0; }, std::chrono::seconds(20)));
    EXPECT_TRUE(model->IsVideoPlaying());
    headless::AdvanceClock(500);
    apptest::DrainMessages();
    EXPECT_FALSE(model->IsVideoPlaying());
    EXPECT_EQ(app->m_drawing, 1);
    EXPECT_EQ(platform::LiveVideoPlayers(), 0);
    headless::ClearDrawCalls();
    Frame();
    EXPECT_TRUE(MapBlitted());
  }
}

TEST_F(VideoPlaybackTest, ContentChosenFromThePageViewReturnsToThePageView) {
  PlayByTap(kClip);
  Tap(400, 300);
  ASSERT_FALSE(model->IsVideoPlaying());
  Frame();

  // The user's own icon opens the history, whose first cell is the clip just played.
  Tap(ScreenX(model->m_userPos.x), ScreenY(model->m_userPos.y));
  ASSERT_GE(model->m_page, 1);
  Frame();
  const int ox = 400 - static_cast<int>(model->m_pageBackground.GetWidth()) / 2;
  const int oy = 300 - static_cast<int>(model->m_pageBackground.GetHeight()) / 2;
  Tap(ox + model->m_pageMarginX + 3 + model->m_pageIconWidth / 2,
      oy + model->m_pageMarginY + 3 + model->m_pageIconHeight / 2);
  ASSERT_TRUE(model->IsVideoPlaying());
  EXPECT_STREQ(model->m_videoFile, "Video\\ITEM01.MP4");
  EXPECT_EQ(model->m_currentUser->m_viewedCount, 1) << "replaying records nothing new";

  ASSERT_TRUE(WaitFor([&] { return recorder->presents > 0 && !ScreenShowsBackBuffer(); },
                      std::chrono::seconds(20)));
  Tap(400, 300);
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_GE(model->m_page, 1);
  headless::ClearDrawCalls();
  Frame();
  EXPECT_TRUE(BlittedFrom(&model->m_pageBackground));
  EXPECT_TRUE(ScreenShowsBackBuffer());
}

// Memory and threads measured after each of three batches of playbacks: a leak grows in
// every batch, while what the allocator and the player's threads settle into grows once at
// most, however fast or slow the machine.
TEST_F(VideoPlaybackTest, RepeatedPlaybacksLeaveMemoryAndThreadsFlat) {
  int most = 0;
  auto playback = [&] {
    const int presents = recorder->presents;
    PlayByTap(kClip);
    most = std::max(most, platform::LiveVideoPlayers());
    // Wait for the video to be on screen, so each playback really runs before the tap.
    ASSERT_TRUE(WaitFor([&] { return recorder->presents > presents; }, std::chrono::seconds(20)));
    Tap(400, 300);
    ASSERT_FALSE(model->IsVideoPlaying());
    Frame();
  };
  // The drawing record would grow with every frame.
  headless::SetDrawRecording(false);
  headless::ClearDrawCalls();
  for (int i = 0; i < 10; ++i) ASSERT_NO_FATAL_FAILURE(playback());
  constexpr int kBatch = 20;
  const long threadsBefore = ProcessStatus("Threads");
  long rss[4] = {ResidentKb()};
  long heap[4] = {InUseKb()};
  for (int batch = 1; batch <= 3; ++batch) {
    for (int i = 0; i < kBatch; ++i) ASSERT_NO_FATAL_FAILURE(playback()) << "batch " << batch;
    rss[batch] = ResidentKb();
    heap[batch] = InUseKb();
  }
  auto leastGrowth = [](const long* kb) {
    return std::min({kb[1] - kb[0], kb[2] - kb[1], kb[3] - kb[2]});
  };
  RecordProperty("rss_kb", std::to_string(rss[0]) + " " + std::to_string(rss[1]) + " " +
                               std::to_string(rss[2]) + " " + std::to_string(rss[3]));
  RecordProperty("heap_kb", std::to_string(heap[0]) + " " + std::to_string(heap[1]) + " " +
                                std::to_string(heap[2]) + " " + std::to_string(heap[3]));
  EXPECT_LE(most, 1);
  EXPECT_EQ(platform::LiveVideoPlayers(), 0);
  // Ended players' threads go, however slowly; leaked ones never do.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return ProcessStatus("Threads") <= threadsBefore + 1; },
                                     std::chrono::seconds(30)))
      << ProcessStatus("Threads") << " threads, " << threadsBefore << " before";
  // A frame buffer is 1.9 MB: kept once a playback, it is 38 MB a batch. What the program holds
  // may grow by 20 kB a playback at most, in the batch that grew least; resident memory by up
  // to 1 MB a playback, since on a busy machine the player's threads spread over more of the
  // allocator's arenas from batch to batch (13 MB in one batch of a healthy build was seen).
  // The address sanitizer has its own allocator and holds freed memory back, so there the
  // count of players and threads has to do.
  if (!kAddressSanitizer) {
    EXPECT_LE(leastGrowth(heap), kBatch * 20) << "kB";
    EXPECT_LE(leastGrowth(rss), kBatch * 1024) << "kB";
  }
}

// The item shown while a sound file plays: the centre of the picture box (three fifths of
// the screen, centred, from an eighth of the height down).
constexpr int kBoxCentreX = 400;
constexpr int kBoxCentreY = 75 + 180;
constexpr DWORD kPlayedColour = 0xF0F0F0;
constexpr DWORD kPausedColour = 0xF0B030;

TEST_F(VideoPlaybackTest, SoundWithoutArtShowsTheThumbnailAndABarThatAdvances) {
  UseFile(4, ToneFile(false));
  CGapiSurface thumb;
  ASSERT_EQ(thumb.CreateSurface(GDSURFACE_SYSTEMMEMORY,
                                (m_projectFolder / "thumbs" / "item04.png").c_str()),
            GD_OK);
  // The enlarged picture is smoothed: its centre lies among the four pixels round the
  // thumbnail's centre, channel by channel.
  const LONG cx = static_cast<LONG>(thumb.GetWidth() / 2);
  const LONG cy = static_cast<LONG>(thumb.GetHeight() / 2);
  const DWORD around[] = {thumb.GetPixel(cx - 1, cy - 1), thumb.GetPixel(cx, cy - 1),
                          thumb.GetPixel(cx - 1, cy), thumb.GetPixel(cx, cy)};
  auto amongAround = [&](DWORD shown) {
    for (int shift : {0, 8, 16}) {
      int low = 255, high = 0;
      for (DWORD p : around) {
        low = std::min<int>(low, (p >> shift) & 0xFF);
        high = std::max<int>(high, (p >> shift) & 0xFF);
      }
      const int got = (shown >> shift) & 0xFF;
      if (got < low - 24 || got > high + 24) return false;
    }
    return true;
  };
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return TrackFill(kPlayedColour) > 10; }, std::chrono::seconds(20)))
      << "no progress on the bar";
  EXPECT_TRUE(amongAround(recorder->Pixel(kBoxCentreX, kBoxCentreY)))
      << std::hex << recorder->Pixel(kBoxCentreX, kBoxCentreY);
  // Over the dimmed map, not the map itself.
  EXPECT_FALSE(ScreenShowsBackBuffer());
  const int early = TrackFill(kPlayedColour);
  ASSERT_TRUE(
      WaitFor([&] { return TrackFill(kPlayedColour) > early + 20; }, std::chrono::seconds(20)))
      << "the bar stopped at " << early;
  Tap(400, 300);
  EXPECT_FALSE(model->IsVideoPlaying());
  Frame();
  EXPECT_TRUE(ScreenShowsBackBuffer());
  EXPECT_TRUE(MapBlitted());
}

TEST_F(VideoPlaybackTest, SoundWithCoverArtShowsTheArt) {
  UseFile(4, ToneFile(true));
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return Near(recorder->Pixel(kBoxCentreX, kBoxCentreY), 0x10E010, 24); },
                      std::chrono::seconds(20)))
      << std::hex << recorder->Pixel(kBoxCentreX, kBoxCentreY);
}

// A subtitle beside a sound file is written over its picture, above the bar.
TEST_F(VideoPlaybackTest, SoundWithSubtitlesShowsTheCueAboveTheBar) {
  const fs::path told = ScratchRoot() / "told.mp3";
  fs::copy_file(ToneFile(false), told, fs::copy_options::overwrite_existing);
  std::ofstream(ScratchRoot() / "told.srt") << "1\n00:00:00,500 --> 00:00:09,000\nHELLO HARBOUR\n";
  UseFile(4, told);
  auto whiteAboveBar = [&] {
    int n = 0;
    for (int y = recorder->height - 60; y < recorder->height - 20; ++y)
      for (int x = 0; x < recorder->width; ++x)
        if (recorder->Pixel(x, y) == 0xFFFFFF) ++n;
    return n;
  };
  PlayByTap(4);
  EXPECT_TRUE(WaitFor([&] { return whiteAboveBar() > 40; }, std::chrono::seconds(20)))
      << "no subtitle above the bar";
}

TEST_F(VideoPlaybackTest, SpaceHoldsTheElapsedTimeAndSpaceAgainGoesOn) {
  UseFile(4, ToneFile(false));
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return Position() > 300; }, std::chrono::seconds(20)));
  headless::InjectKeyDown(VK_SPACE);
  headless::InjectKeyUp(VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return TrackFill(kPausedColour) > 0; }, std::chrono::seconds(10)))
      << "the bar does not show the pause";
  EXPECT_EQ(SendMessageA(app->m_videoWindow, MCIWNDM_GETMODEA, 0, 0), MCI_MODE_PAUSE);
  const LRESULT held = Position();
  // A second of playing would move it on by far more, however slow the machine; held, it
  // stays where it stopped.
  EXPECT_FALSE(WaitFor([&] { return std::abs(static_cast<long>(Position() - held)) > 300; },
                       std::chrono::seconds(1)))
      << "it moved from " << held << " to " << Position() << " while paused";

  headless::InjectKeyDown(VK_SPACE);
  headless::InjectKeyUp(VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return Position() > held + 300; }, std::chrono::seconds(10)))
      << "it did not go on";
  EXPECT_EQ(SendMessageA(app->m_videoWindow, MCIWNDM_GETMODEA, 0, 0), MCI_MODE_PLAY);
}

TEST_F(VideoPlaybackTest, RightAndLeftMoveFiveSecondsAndPastTheEndItEnds) {
  UseFile(4, ToneFile(false));
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return Position() > 200; }, std::chrono::seconds(20)));
  // Paused, the position moves by the steps alone, however long the player takes for them.
  auto press = [](UINT vk) {
    headless::InjectKeyDown(vk);
    headless::InjectKeyUp(vk);
    apptest::DrainMessages();
  };
  auto near = [&](LRESULT ms) { return std::abs(static_cast<long>(Position() - ms)) <= 400; };
  press(VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return TrackFill(kPausedColour) > 0; }, std::chrono::seconds(10)));
  const LRESULT before = Position();
  press(VK_RIGHT);
  EXPECT_TRUE(WaitFor([&] { return near(before + 5000); }, std::chrono::seconds(10)))
      << Position() << " after Right from " << before;
  press(VK_LEFT);
  EXPECT_TRUE(WaitFor([&] { return near(before); }, std::chrono::seconds(10)))
      << Position() << " after Left from " << before + 5000;
  press(VK_SPACE);

  // Past the end: it stops on its last moment and the next poll ends it.
  for (int i = 0; i < 3; ++i) press(VK_RIGHT);
  ASSERT_TRUE(WaitFor([&] { return Position() == End(); }, std::chrono::seconds(20)));
  // Paused on the last moment, it still ends at the next poll.
  press(VK_SPACE);
  headless::AdvanceClock(500);
  apptest::DrainMessages();
  EXPECT_FALSE(model->IsVideoPlaying());
}

// Media that does not say its length: its real position, seeks from where it is, and the
// poll still ends it where it stops.
TEST_F(VideoPlaybackTest, MediaOfUnknownLengthShowsItsPositionAndSeeksFromIt) {
  UseFile(4, LiveRecording());
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return Position() > 300; }, std::chrono::seconds(20)))
      << "the position stands still";
  EXPECT_EQ(End(), MCI_LENGTH_UNKNOWN);
  const LRESULT before = Position();
  auto press = [](UINT vk) {
    headless::InjectKeyDown(vk);
    headless::InjectKeyUp(vk);
    apptest::DrainMessages();
  };
  press(VK_RIGHT);
  ASSERT_TRUE(WaitFor([&] { return Position() > before + 3000; }, std::chrono::seconds(10)))
      << "Right did not move on from " << before << " but to " << Position();
  // The player cannot find its way back into such a stream and stops there, at its end.
  ASSERT_TRUE(WaitFor([&] { return End() > 0 && End() == Position(); }, std::chrono::seconds(20)));
  headless::AdvanceClock(500);
  apptest::DrainMessages();
  EXPECT_FALSE(model->IsVideoPlaying());
}

// A kept-open file pauses by itself at its end; seeking back from there before the poll
// ends it plays on, unless the visitor paused it.
TEST_F(VideoPlaybackTest, SeekingBackFromTheEndPlaysOnUnlessPaused) {
  auto press = [](UINT vk) {
    headless::InjectKeyDown(vk);
    headless::InjectKeyUp(vk);
    apptest::DrainMessages();
  };
  UseFile(4, ToneFile(false));
  for (bool paused : {false, true}) {
    SCOPED_TRACE(paused ? "paused" : "playing");
    PlayByTap(4);
    ASSERT_TRUE(WaitFor([&] { return Position() > 100; }, std::chrono::seconds(20)));
    for (int i = 0; i < 3; ++i) press(VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return Position() == End(); }, std::chrono::seconds(10)));
    if (paused) press(VK_SPACE);
    press(VK_LEFT);
    ASSERT_TRUE(WaitFor([&] { return Position() < End() - 3000; }, std::chrono::seconds(10)));
    const LRESULT back = Position();
    if (paused) {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));  // time that would have played
      apptest::DrainMessages();
      EXPECT_LE(std::abs(static_cast<long>(Position() - back)), 60L);
      EXPECT_EQ(SendMessageA(app->m_videoWindow, MCIWNDM_GETMODEA, 0, 0), MCI_MODE_PAUSE);
    } else {
      EXPECT_TRUE(WaitFor([&] { return Position() > back + 300; }, std::chrono::seconds(10)))
          << "it stayed paused at " << back;
    }
    press(VK_ESCAPE);
    ASSERT_FALSE(model->IsVideoPlaying());
    Frame();
  }
}

// Holding Right seeks on with every repeat of the key.
TEST_F(VideoPlaybackTest, AHeldSeekKeyGoesOnSeeking) {
  UseFile(4, ToneFile(false));
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return Position() > 100; }, std::chrono::seconds(20)));
  const LRESULT before = Position();
  headless::InjectKeyDown(VK_RIGHT);
  headless::InjectKeyDown(VK_RIGHT, true);
  apptest::DrainMessages();
  // Two steps on, or the end: the seeks land in the player's own time.
  const LRESULT end = End();
  EXPECT_TRUE(
      WaitFor([&] { return Position() >= std::min(before + 9000, end); }, std::chrono::seconds(10)))
      << Position() << " from " << before;
  headless::InjectKeyUp(VK_RIGHT);
}

// Over a sound file's picture the bar is solid, so the GPS status line drawn under it does
// not show through; M writes the mute on the bar for a moment.
TEST_F(VideoPlaybackTest, TheBarCoversTheStatusLineAndShowsTheMuteForAMoment) {
  // Pixels that are not black in the bar's text row, between two columns.
  auto litIn = [&](int left, int right) {
    int n = 0;
    for (int y = recorder->height - 18; y < recorder->height - 8; ++y)
      for (int x = left; x < right; ++x)
        if (recorder->Pixel(x, y) != 0) ++n;
    return n;
  };
  model->m_showGpsStatus = true;
  UseFile(4, ToneFile(false));
  PlayByTap(4);
  ASSERT_TRUE(WaitFor([&] { return TrackFill(kPlayedColour) > 0; }, std::chrono::seconds(20)));
  EXPECT_EQ(litIn(400, 700), 0) << "the status line shows through the bar";
  // Paused, the bar's text holds still.
  headless::InjectKeyDown(VK_SPACE);
  headless::InjectKeyUp(VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return TrackFill(kPausedColour) > 0; }, std::chrono::seconds(10)));
  const int plain = litIn(0, 400);
  headless::InjectKeyDown('M');
  headless::InjectKeyUp('M');
  EXPECT_TRUE(WaitFor([&] { return litIn(0, 400) > plain + 30; }, std::chrono::seconds(10)))
      << "nothing written on the bar after M";
  headless::AdvanceClock(2500);
  EXPECT_TRUE(WaitFor([&] { return litIn(0, 400) == plain; }, std::chrono::seconds(10)))
      << "the mute stayed on the bar";
}

// Volume and mute set during one playback hold for the next.
TEST_F(VideoPlaybackTest, VolumeAndMuteLastForTheRun) {
  auto press = [](UINT vk) {
    headless::InjectKeyDown(vk);
    headless::InjectKeyUp(vk);
    apptest::DrainMessages();
  };
  auto volumeIs = [&](LRESULT v) {
    return WaitFor([&] { return SendMessageA(app->m_videoWindow, MCIWNDM_GETVOLUME, 0, 0) == v; },
                   std::chrono::seconds(10));
  };
  UseFile(4, ToneFile(false));
  PlayByTap(4);
  press(VK_DOWN);
  press(VK_DOWN);
  EXPECT_TRUE(volumeIs(800));
  press('M');
  press(VK_ESCAPE);
  ASSERT_FALSE(model->IsVideoPlaying());
  Frame();
  PlayByTap(4);
  EXPECT_TRUE(volumeIs(0)) << "the mute was lost";
  press('M');
  EXPECT_TRUE(volumeIs(800)) << "the volume was lost";
}

}  // namespace
