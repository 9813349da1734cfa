// The station page runs in the system's browser control (IE11's engine): the page's scripts may use
// only what that engine has, unless the code tests for it first.
import compat from "eslint-plugin-compat";
import esx from "eslint-plugin-es-x";

export default [
  {
    files: ["**/*.js"],
    languageOptions: { ecmaVersion: 5, sourceType: "script", globals: { window: "readonly", document: "readonly" } },
    plugins: { compat, "es-x": esx },
    // aggressive: a method of an unknown object counts as the built-in of that name.
    settings: { lintAllEsApis: true, "es-x": { aggressive: true } },
    rules: { "compat/compat": "error", ...esx.configs["flat/restrict-to-es5"].rules },
  },
];
