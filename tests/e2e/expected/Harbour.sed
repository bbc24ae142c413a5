# The project file the tour writes: demo/Harbour.xml with the tour's four edits, as the
# program writes them back (Times switched on, the users file it made named, item 4 moved to
# (400, 520)). Applied with `sed -f`; each line must change exactly one line of the demo.
s#^\t<time_rels>0</time_rels>$#\t<time_rels>1</time_rels>#
s#^\t<user_filename/>$#\t<user_filename>HarbourUsers.xml</user_filename>#
/^\t\t<content_id>4<\/content_id>$/,/^\t<\/content>$/{
s#^\t\t<gps_x>[^<]*</gps_x>$#\t\t<gps_x>-0.616200</gps_x>#
s#^\t\t<gps_y>[^<]*</gps_y>$#\t\t<gps_y>54.483774</gps_y>#
}
