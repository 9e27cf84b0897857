// player.s is never half-written: a game rewriting it on every frame of a lost
// game is killed at random moments, and each time the file holds five whole lines.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "support.h"

// Level one drops the ship into a gap right after the spawn row: five falls lose the game.
static std::string falling_level() {
    std::vector<level_edit> gap;
    for (int r = 1; r <= 20; r++)
        gap.push_back({r, "......."});
    return plain_level(gap);
}

// A lost level one, as the file must read after any kill.
// True when text is five whole lines: level one's record with the given stars
// and lives (any time), then four untouched records.
static bool level_one_record_only(const std::string& text, int stars, int lives) {
    std::string rest = "0 0 0 0\n0 0 0 0\n0 0 0 0\n0 0 0 0\n";
    std::string head = "1 " + std::to_string(stars) + " ";
    std::string tail = " " + std::to_string(lives) + "\n";
    size_t first_end = text.find('\n');
    if (first_end == std::string::npos || text.substr(first_end + 1) != rest)
        return false;
    std::string first = text.substr(0, first_end + 1);
    if (first.size() <= head.size() + tail.size() || first.compare(0, head.size(), head) != 0 ||
        first.compare(first.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    std::string time = first.substr(head.size(), first.size() - head.size() - tail.size());
    return time.find_first_not_of("0123456789") == std::string::npos;
}

// Starts the lost-game writer in bin and waits for its "lost"; returns its pid.
static pid_t start_lost_game(const std::string& bin, std::string* why) {
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
    std::string said;
    char c;
    while (said.find("lost\n") == std::string::npos && read(out[0], &c, 1) == 1)
        said += c;
    close(out[0]);
    if (said.find("lost\n") == std::string::npos) {
        *why = "the writer did not reach a lost game; it said:\n" + said;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST(ResultsFileKilled, KeepsFiveWholeLinesAtAnyMoment) {
    std::string bin = make_play_folder({falling_level()});
    std::string path = bin + "/player.s";
    unsigned seed = (unsigned)time(nullptr);
    std::mt19937 pick(seed);
    int torn_writes_caught = 0;
    for (int round = 0; round < 100; round++) {
        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        write_text_file(path, "9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n");
        std::string why;
        pid_t pid = start_lost_game(bin, &why);
        ASSERT_GT(pid, 0) << why;
        // somewhere in the middle of the frames, each of which rewrites the file
        timespec pause = {0, (long)std::uniform_int_distribution<int>(0, 4000)(pick) * 1000L};
        nanosleep(&pause, nullptr);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer stopped by itself";
        std::string text = read_text_file(path);
        EXPECT_TRUE(level_one_record_only(text, 0, 0)) << "player.s after the kill:\n" << text;
        if (access((bin + "/player.s.tmp").c_str(), F_OK) == 0)
            torn_writes_caught++;
        remove((bin + "/player.s.tmp").c_str());
    }
    printf("kills that caught a write under way: %d of 100\n", torn_writes_caught);
}
