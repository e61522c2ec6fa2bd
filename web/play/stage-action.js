// What a character's request does while it is performed; each action's start and tick
// say whether it is still running.
export const ACTION_STATE = Object.freeze({ RUNNING: 'running', COMPLETE: 'complete', FAILED: 'failed' });
