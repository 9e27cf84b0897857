// player.s is never half-written: a game rewriting it on every frame of a lost
// game is killed at random moments, and each time the file holds five whole lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "support.h"

#ifdef _WIN32
#include <windows.h>

typedef HANDLE    game_process_t;
static const UINT KILLED = 137;   // the status a kill leaves, as a shell reports SIGKILL

// Starts the lost-game writer in bin and waits for its "lost"; nullptr when it never says it.
static HANDLE start_lost_game(const std::string& bin, std::string* said) {
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE              from_game, to_test;
    if (!CreatePipe(&from_game, &to_test, &inherited, 0))
        return nullptr;
    SetHandleInformation(from_game, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA start = {};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = to_test;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string         command = "\"" LOST_GAME_PROGRAM "\" \"" + bin + "\"";
    PROCESS_INFORMATION game;
    BOOL made = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &game);
    CloseHandle(to_test);
    if (!made) {
        CloseHandle(from_game);
        return nullptr;
    }
    CloseHandle(game.hThread);
    // the game's own lines come first; "lost" ends what the writer says (CR LF: text mode)
    char  c;
    DWORD got = 0;
    while (said->find("lost\n") == std::string::npos && ReadFile(from_game, &c, 1, &got, nullptr) && got == 1)
        if (c != '\r')
            *said += c;
    CloseHandle(from_game);
    if (said->find("lost\n") == std::string::npos) {
        TerminateProcess(game.hProcess, KILLED);
        WaitForSingleObject(game.hProcess, INFINITE);
        CloseHandle(game.hProcess);
        return nullptr;
    }
    return game.hProcess;
}

// Ends the writer at once; true when the kill, not the writer itself, ended it.
static bool kill_at_once(HANDLE game) {
    TerminateProcess(game, KILLED);
    WaitForSingleObject(game, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(game, &status);
    CloseHandle(game);
    return status == KILLED;
}
#else
#include <csignal>
#include <sys/wait.h>

typedef pid_t game_process_t;

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

// Ends the writer at once; true when the kill, not the writer itself, ended it.
static bool kill_at_once(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
#endif

TEST(ResultsFileKilled, KeepsFiveWholeLinesAtAnyMoment) {
    // level one drops the ship into a gap right after the spawn row: five falls lose the game
    std::string  bin = make_play_folder({plain_level(rows_of(1, 20, "......."))});
    std::string  path = bin + "/player.s";
    unsigned     seed = (unsigned)time(nullptr);
    std::mt19937 pick(seed);
    for (int round = 0; round < 100; round++) {
        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        write_text_file(path, "9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n9 9 9 9\n");
        std::string    said;
        game_process_t game = start_lost_game(bin, &said);
        ASSERT_TRUE(game && game != (game_process_t)-1) << "the writer did not reach a lost game; it said:\n" << said;
        // somewhere in the middle of the frames, each of which rewrites the file
        usleep(std::uniform_int_distribution<int>(0, 4000)(pick));
        ASSERT_TRUE(kill_at_once(game)) << "the writer stopped by itself";
        std::string text = read_text_file(path);
        EXPECT_TRUE(level_one_record_only(text, 0, 0)) << "player.s after the kill:\n" << text;
        // a writer killed mid-write leaves its temporary beside the file
        for (const auto& entry : std::filesystem::directory_iterator(bin))
            if (entry.path().filename().string().rfind("player.s.", 0) == 0)
                std::filesystem::remove(entry.path());
    }
}
