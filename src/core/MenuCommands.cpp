#include "core/MenuCommands.h"

#include <array>
#include <cstddef>

namespace nupo {

namespace {

std::array<MenuCommands::Command, std::size_t(MenuCommand::count)>& commands()
{
    static std::array<MenuCommands::Command, std::size_t(MenuCommand::count)> table;
    return table;
}

}  // namespace

void MenuCommands::install(MenuCommand command, Command perform)
{
    commands()[std::size_t(command)] = std::move(perform);
}

bool MenuCommands::run(MenuCommand command, int argument)
{
    const Command& perform = commands()[std::size_t(command)];
    if (!perform)
        return false;
    perform(argument);
    return true;
}

}  // namespace nupo
