// The station page's styles, checked against the engine of the system's browser control (the
// browserslist in package.json), where a rule with anything unknown in its selector is dropped whole.
export default {
  plugins: ["stylelint-no-unsupported-browser-features"],
  rules: {
    "plugin/no-unsupported-browser-features": [true, {
      severity: "error",
      // Partly supported, but not in the parts used here: IE11 lacks overflow: clip and the
      // two-value overflow, and outline-offset.
      ignore: ["css-overflow", "outline"],
    }],
  },
};
