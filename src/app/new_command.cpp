// The `new` subcommand: its options and the run that writes a new project.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "app/command_line.h"
#include "app/new_project.h"
#include "platform/text/tr.h"

SubcommandRun DefineNew(CLI::App& command) {
  auto request = std::make_shared<NewProjectRequest>();
  command
      .add_option("FOLDER", request->folder, _("the folder of the new project (made if missing)"))
      ->required();
  command.add_option("--map", request->map, _("the map image, copied into FOLDER"))
      ->option_text("IMAGE")
      ->required();
  command
      .add_option("--bounds", request->bounds,
                  _("the map's edges in decimal degrees: west, north, east, south\n"
                    "(write --bounds=W,N,E,S when the first is negative)"))
      ->option_text("W,N,E,S")
      ->required();
  command
      .add_option("--waypoints", request->waypoints, _("a GPX file whose waypoints become regions"))
      ->option_text("FILE.gpx");
  command.add_option("--name", request->name, _("the project's name (default: the folder's name)"))
      ->option_text("TEXT");
  command.footer(
      _("Writes FOLDER/<folder name>.xml as the program writes projects: each waypoint becomes a\n"
        "region named after it, with a radius of about 25 metres on the map's scale; the other\n"
        "lists are written empty. Names are written with &, < and > as &amp;, &lt; and &gt;.\n"
        "An existing project is never overwritten, and nothing is written that `corvane check`\n"
        "would call an error (a waypoint outside the bounds, for one).\n"
        "Exit status: 0 written, 1 nothing written."));
  return [request](std::ostream& out, std::ostream& err) {
    const NewProjectResult result = CreateNewProject(*request);
    for (const std::string& note : result.notes) err << _("corvane new: warning: ") << note << "\n";
    if (!result.written) {
      err << "corvane new: " << result.problem << _("\nNothing was written.\n");
      return 1;
    }
    out << _("Wrote ") << result.projectFile << ": " << result.regions
        << P_(" region", " regions", result.regions) << _(", radius ") << result.radius
        << _(" map pixels (about 25 metres).\n") << _("Next: corvane check ") << result.projectFile
        << "\n";
    return 0;
  };
}
