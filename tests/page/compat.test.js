// The page runs in IE11's engine, which no browser here can start: its scripts and styles are
// checked against that engine's compat data instead.
"use strict";
const { test } = require("node:test"), assert = require("node:assert/strict"), { ESLint } = require("eslint");

test("the page's scripts use only what IE11 has and its styles use only what it keeps, or they test for it first", async () => {
  const { default: stylelint } = await import("stylelint"), cwd = `${__dirname}/../..`;
  const scripts = await new ESLint({ cwd, overrideConfigFile: `${__dirname}/eslint.config.mjs` }).lintFiles(["station/sonbrel/*.js"]);
  const { results: styles } = await stylelint.lint({ cwd, files: ["station/sonbrel/*.css"], configFile: `${__dirname}/stylelint.config.mjs` });
  assert.ok(scripts.length > 0 && styles.length > 0, "nothing was checked");
  assert.deepEqual([...scripts.flatMap((r) => r.messages.map((m) => `${r.filePath}:${m.line}:${m.column} ${m.message}`)),
    ...styles.flatMap((r) => r.warnings.map((w) => `${r.source}:${w.line}:${w.column} ${w.text}`))], []);
});
