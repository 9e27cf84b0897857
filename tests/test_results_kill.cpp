// player.s is never half-written: a game rewriting it on every frame of a lost
// game is killed at random moments, and each time the file holds five whole lines.
#include <gtest/gtest.h>

#include "support.h"

#ifdef _WIN32
TEST(ResultsFileKilled, KeepsFiveWholeLinesAtAnyMoment) {
    GTEST_SKIP() << "the writer is started with fork and killed with SIGKILL, which Windows has not";
}
#else
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

// Starts the lost-game writer in bin and waits for its "lost"; returns its pid.
static pid_t start_lost_game(const std::string& bin, std::string* said) {
    int out[2];
    if (pipe(out) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(LOST_GAME_PROGRAM, LOST_GAME_PROGRAM, bin.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(out[1]);
    // the game's own lines come first; "lost" ends what the writer says
    char c;
    while (said->find("lost\n") == std::string::npos && read(out[0], &c, 1) == 1)
        *said += c;
    close(out[0]);
    if (said->find("lost\n") == std::string::npos) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST(ResultsFileKilled, KeepsFiveWholeLinesAtAnyMoment) {
    // level one drops the ship into a gap right after the spawn row: five falls lose the game
    std::string  bin = make_play_folder({plain_level(rows_of(1, 20, "......."))});
    std::string  path = bin + "/player.s";
    unsigned     seed = (unsigned)time(nullptr);
    std::mt19937 pick(seed);
    for (int round = 0; round < 100; round++) {
        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        write_text_file(path, "9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n");
        std::string said;
        pid_t       pid = start_lost_game(bin, &said);
        ASSERT_GT(pid, 0) << "the writer did not reach a lost game; it said:\n" << said;
        // somewhere in the middle of the frames, each of which rewrites the file
        usleep(std::uniform_int_distribution<int>(0, 4000)(pick));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer stopped by itself";
        std::string text = read_text_file(path);
        EXPECT_TRUE(level_one_record_only(text, 0, 0)) << "player.s after the kill:\n" << text;
        // a writer killed mid-write leaves its temporary beside the file
        for (const auto& entry : std::filesystem::directory_iterator(bin))
            if (entry.path().filename().string().rfind("player.s.", 0) == 0)
                std::filesystem::remove(entry.path());
    }
}
#endif
