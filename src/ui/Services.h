#pragma once

class DesktopOpener;
class Messenger;
class ProgramStarter;

/// The edges of the world that the windows reach through interfaces: the real ones in the program, doubles in
/// the tests. Not owned.
struct Services {
    Messenger* messenger = nullptr;
    DesktopOpener* desktop = nullptr;
    ProgramStarter* programs = nullptr;
};
