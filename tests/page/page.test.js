// The station page's browser tests, in one process so that they take turns with the server.
"use strict";
require("./syntax");
require("./bands");
require("./listening");
require("./memory");
